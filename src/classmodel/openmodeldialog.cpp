#include "classmodel/openmodeldialog.h"

#include "classmodel/changeshortcutdialog.h"
#include "classmodel/classmodeltext.h"
#include "classmodel/insertitemdialog.h"
#include "classmodel/renamedialog.h"
#include "common/textfilewriter.h"
#include "common/userdialogs.h"
#include "ui_openmodeldialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTreeWidget>

namespace {

const QString addClassText = QStringLiteral("&Add Class");
const QString addSubclassText = QStringLiteral("&Add Subclass");
const QString deleteClassText = QStringLiteral("&Delete Class");
const QString deleteSubclassText = QStringLiteral("&Delete Subclass");
const QString renameClassText = QStringLiteral("&Rename Class");
const QString renameSubclassText = QStringLiteral("&Rename Subclass");
const QString changeShortcutText = QStringLiteral("&Change Shortcut");

const int nameColumn = 0;
const int shortcutColumn = 1;

QTreeWidgetItem *newEntry(const QString &name, const QString &shortcut)
{
    auto *item = new QTreeWidgetItem;
    item->setText(nameColumn, name);
    item->setText(shortcutColumn, shortcut);
    return item;
}

ClassModel modelOf(const QTreeWidget *tree)
{
    ClassModel model;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *cls = tree->topLevelItem(i);
        ClassModelEntry entry{cls->text(nameColumn), cls->text(shortcutColumn), {}};
        for (int j = 0; j < cls->childCount(); ++j)
            entry.subclasses.append({cls->child(j)->text(nameColumn), cls->child(j)->text(shortcutColumn), {}});
        model.append(entry);
    }
    return model;
}

// Appends the model's classes, each expanded, with their subclasses.
void appendModel(QTreeWidget *tree, const ClassModel &model)
{
    for (const ClassModelEntry &cls : model) {
        QTreeWidgetItem *item = newEntry(cls.name, cls.shortcut);
        for (const ClassModelEntry &sub : cls.subclasses)
            item->addChild(newEntry(sub.name, sub.shortcut));
        tree->addTopLevelItem(item);
        item->setExpanded(true);
    }
}

// The lines a load left out, as the warning names them: a file that is no
// class model at all (a table, a binary file) gives hundreds of long ones,
// and a box listing them all would be taller than the screen with its
// button out of reach. So the first few, each cut short, and a count.
QString refusedNamesList(const QStringList &names)
{
    const int shown = 10;
    const int longest = 60;
    QStringList lines;
    for (const QString &name : names.mid(0, shown))
        lines << (name.size() > longest ? name.left(longest) + QChar(0x2026) : name);
    if (names.size() > shown)
        lines << QCoreApplication::translate("OpenModelDialog", "and %1 more").arg(names.size() - shown);
    return lines.join(QLatin1Char('\n'));
}

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

} // namespace

OpenModelDialog::OpenModelDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::OpenModelDialog)
{
    ui->setupUi(this);
    ui->treeWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->treeWidget, &QWidget::customContextMenuRequested, this, &OpenModelDialog::rightClickMenu);
    ui->treeWidget->installEventFilter(this);
}

OpenModelDialog::~OpenModelDialog()
{
    // The tree outlives the form object by a moment: no event may reach the filter after it.
    ui->treeWidget->removeEventFilter(this);
    delete ui;
}

QString OpenModelDialog::getModelText() const
{
    return ClassModelText::write(modelOf(ui->treeWidget));
}

QStringList OpenModelDialog::usedShortcuts() const
{
    return ClassModelText::shortcutsOf(modelOf(ui->treeWidget));
}

void OpenModelDialog::on_buttonBox_accepted()
{
    done(QDialog::Accepted);
}

void OpenModelDialog::on_buttonBox_rejected()
{
    done(QDialog::Rejected);
}

// Load: the user chose to replace the tree, so it is cleared without a question.
void OpenModelDialog::on_pushButton_2_clicked()
{
    const QString fileName = userDialogs().openFileName(
        this, tr("Open Model File"), QCoreApplication::applicationDirPath(), tr("TXT Files (*.txt)"));
    if (fileName.isEmpty())
        return;
    ui->treeWidget->clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = ClassModelText::decodeFile(file.readAll());
    file.close();
    const ClassModelText::Reading reading = ClassModelText::read(text, ClassModelText::Names::AsTheyStand);
    appendModel(ui->treeWidget, reading.model);
    if (!reading.refusedNames.isEmpty()) {
        MessageBoxRequest box;
        box.icon = QMessageBox::Warning;
        box.title = tr("Warning");
        box.text = tr("These classes cannot be used and were left out:") + QLatin1Char('\n')
                   + refusedNamesList(reading.refusedNames);
        userDialogs().message(box);
    }
}

// A name typed without a suffix is saved with ".txt", so that Load, which lists only those, finds it again.
void OpenModelDialog::on_pushButton_4_clicked()
{
    const QString fileName = userDialogs().saveFileNameWithSuffix(
        this, tr("Save Model File"), QCoreApplication::applicationDirPath(), tr("TXT Files (*.txt)"));
    if (fileName.isEmpty())
        return;
    writeTextFile(fileName, getModelText());
}

void OpenModelDialog::on_pushButton_3_clicked()
{
    ui->treeWidget->clear();
}

void OpenModelDialog::on_pushButton_5_clicked()
{
    loadDefaultTree(false);
}

void OpenModelDialog::on_pushButton_clicked()
{
    loadDefaultTree(true);
}

void OpenModelDialog::loadDefaultTree(bool advanced)
{
    if (ui->treeWidget->topLevelItemCount() > 0) {
        if (!userDialogs().confirm(nullptr, tr("Warning"), tr("Do you really want to load default Model?"),
                                   tr("The current Model will be deleted!")))
            return;
    }
    ui->treeWidget->clear();
    appendModel(ui->treeWidget, advanced ? ClassModelText::advancedDefaultTree() : ClassModelText::simpleDefaultTree());
    ui->treeWidget->setColumnWidth(nameColumn, 150);
    ui->treeWidget->setColumnWidth(shortcutColumn, 50);
}

void OpenModelDialog::buildContextMenu(QMenu *menu, const QTreeWidgetItem *item)
{
    if (!item) {
        menu->addAction(addClassText);
    } else if (!item->parent()) {
        menu->addAction(addClassText);
        menu->addAction(addSubclassText);
        menu->addSeparator();
        menu->addAction(deleteClassText);
        menu->addSeparator();
        menu->addAction(renameClassText);
        menu->addAction(changeShortcutText);
    } else {
        menu->addAction(deleteSubclassText);
        menu->addSeparator();
        menu->addAction(renameSubclassText);
        menu->addAction(changeShortcutText);
    }
}

void OpenModelDialog::rightClickMenu(const QPoint &pos)
{
    QTreeWidgetItem *item = ui->treeWidget->itemAt(pos);
    QMenu menu(this);
    buildContextMenu(&menu, item);
    const QAction *chosen = userDialogs().runMenu(&menu, ui->treeWidget->viewport()->mapToGlobal(pos));
    if (chosen)
        runMenuEntry(chosen->text(), item);
}

void OpenModelDialog::runMenuEntry(const QString &text, QTreeWidgetItem *item)
{
    if (text == addClassText) {
        addClass(item);
    } else if (!item) {
        return;
    } else if (text == addSubclassText) {
        addSubclass(item);
    } else if (text == deleteClassText) {
        const QString question =
            tr("Do you really want to delete Class ") + quoted(item->text(nameColumn)) + tr(" and its Subclasses?");
        if (userDialogs().confirm(nullptr, tr("Warning"), question))
            delete item;
    } else if (text == deleteSubclassText) {
        const QString question =
            tr("Do you really want to delete Subclass ") + quoted(item->text(nameColumn)) + QLatin1Char('?');
        if (userDialogs().confirm(nullptr, tr("Warning"), question))
            delete item;
    } else if (text == changeShortcutText) {
        changeShortcut(item);
    } else if (text == renameClassText || text == renameSubclassText) {
        rename(item);
    }
}

void OpenModelDialog::addClass(QTreeWidgetItem *below)
{
    InsertItemDialog dialog(this, usedShortcuts());
    dialog.setWindowTitle(tr("Set new Class Parameter"));
    dialog.setLabelText(tr("Class Name"));
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted || dialog.getName().isEmpty())
        return;
    QTreeWidgetItem *item = newEntry(dialog.getName(), dialog.getShortcut());
    if (below)
        ui->treeWidget->insertTopLevelItem(ui->treeWidget->indexOfTopLevelItem(below) + 1, item);
    else
        ui->treeWidget->addTopLevelItem(item);
    item->setExpanded(true);
}

void OpenModelDialog::addSubclass(QTreeWidgetItem *cls)
{
    InsertItemDialog dialog(this, usedShortcuts());
    dialog.setWindowTitle(tr("Set new Subclass Parameter"));
    dialog.setLabelText(tr("Subclass Name"));
    if (userDialogs().runDialog(&dialog) != QDialog::Accepted || dialog.getName().isEmpty())
        return;
    cls->addChild(newEntry(dialog.getName(), dialog.getShortcut()));
}

void OpenModelDialog::changeShortcut(QTreeWidgetItem *item)
{
    ChangeShortcutDialog dialog(this, usedShortcuts());
    dialog.setWindowTitle(tr("Set new Shortcut"));
    if (userDialogs().runDialog(&dialog) == QDialog::Accepted)
        item->setText(shortcutColumn, dialog.getShortcut());
}

void OpenModelDialog::rename(QTreeWidgetItem *item)
{
    RenameDialog dialog(this, item->text(nameColumn));
    dialog.setWindowTitle(tr("Rename Class"));
    if (userDialogs().runDialog(&dialog) == QDialog::Accepted)
        item->setText(nameColumn, dialog.getName());
}

bool OpenModelDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ui->treeWidget || event->type() != QEvent::KeyPress
        || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Delete)
        return QDialog::eventFilter(watched, event);
    if (QTreeWidgetItem *item = ui->treeWidget->currentItem()) {
        const QString name = quoted(item->text(nameColumn));
        const QString question =
            item->parent() ? tr("Do you really want to delete Subclass ") + name + QLatin1Char('?')
                           : tr("Do you really want to delete Class ") + name + tr(" and all its Subclasses?");
        if (userDialogs().confirm(nullptr, tr("Warning"), question))
            delete item;
    }
    return true;
}
