#include "activity/loadwinddialog.h"

#include "activity/foldersettings.h"
#include "analysis/boundedlinereader.h"
#include "common/columnwidths.h"
#include "export/timezonechoicelist.h"
#include "ui_loadwinddialog.h"

#include <QTreeWidgetItem>

namespace {

constexpr int previewEntries = 1000; // reading stops once more than this many were collected

} // namespace

QVector<QStringList> windPreviewRows(const QString &path, const WindFileFormat &format)
{
    QVector<QDateTime> times;
    QVector<float> speeds;
    BoundedLineReader reader(path);
    if (reader.open()) {
        QString line;
        while (times.size() <= previewEntries && reader.readLine(line)) {
            const WindLine read = readWindLine(line, format);
            // A time that does not read makes no entry, as in the chart.
            if (!read.time.isValid())
                continue;
            const QDateTime stamp(read.date, read.time);
            if (read.hasSpeed && stamp.isValid()) {
                times.append(stamp);
                speeds.append(read.speed);
            }
        }
    }
    applyWindDateTimeDefinition(format.dateTimeDefinition, times, speeds);
    QVector<QStringList> rows;
    rows.reserve(times.size());
    for (int i = 0; i < times.size(); ++i) {
        const QDateTime &t = times.at(i);
        rows.append({t.toString(QStringLiteral("dd.MM.yyyy")), t.toString(QStringLiteral("hh:mm:ss")),
                     QString::number(speeds.at(i), 'g', 2)});
    }
    return rows;
}

LoadWindDialog::LoadWindDialog(QWidget *parent, QString folder_, QString windFileName_)
    : QDialog(parent)
    , ui(new Ui::LoadWindDialog)
    , folder(std::move(folder_))
    , windFileName(std::move(windFileName_))
{
    ui->setupUi(this);
    setWindowTitle(tr("Set File Format"));
    // The preview's headers whole in the desktop's font.
    setColumnWidthsAtLeast(ui->treeWidget, {100, 100});

    using namespace FolderSettings;
    ui->checkBox->setChecked(readFolderSetting(folder, windConsiderDaylightSaving));
    // A stored text that is no item leaves its combo where it is.
    ui->comboBox->setCurrentText(readFolderSetting(folder, windDateFormat));
    ui->comboBox_3->setCurrentText(readFolderSetting(folder, windTimeFormat));
    ui->comboBox_6->setCurrentText(readFolderSetting(folder, windDecimalSeparator));
    ui->comboBox_4->setCurrentText(readFolderSetting(folder, windSeparator1));
    ui->comboBox_5->setCurrentText(readFolderSetting(folder, windSeparator2));
    const QString definition = readFolderSetting(folder, windDateTimeDefinition);
    if (definition == QLatin1String("Beginning"))
        ui->radioButton->setChecked(true);
    else if (definition == QLatin1String("End"))
        ui->radioButton_2->setChecked(true);
    else
        ui->radioButton_3->setChecked(true);
    // The zone the folder names is offered even where the list leaves it out; the machine's, the default, is not.
    timeZones = TimeZoneChoiceList::build(true, readFolderSetting(folder, windDataTimeZone));
    storedTimeZoneId = readFolderSetting(folder, windDataTimeZone, TimeZoneChoiceList::systemZoneId());
    TimeZoneChoiceList::fill(ui->comboBox_2, timeZones, QTimeZone(storedTimeZoneId));
    loading = false;
    createPreview();
}

LoadWindDialog::~LoadWindDialog()
{
    delete ui;
}

WindFileFormat LoadWindDialog::chosenFormat() const
{
    WindFileFormat format;
    format.dateFormat = ui->comboBox->currentText();
    format.timeFormat = ui->comboBox_3->currentText();
    format.decimalSeparator = ui->comboBox_6->currentText();
    format.separator1 = ui->comboBox_4->currentText();
    format.separator2 = ui->comboBox_5->currentText();
    if (ui->radioButton->isChecked())
        format.dateTimeDefinition = QStringLiteral("Beginning");
    else if (ui->radioButton_2->isChecked())
        format.dateTimeDefinition = QStringLiteral("End");
    else if (ui->radioButton_3->isChecked())
        format.dateTimeDefinition = QStringLiteral("Round");
    else
        format.dateTimeDefinition.clear();
    return format;
}

void LoadWindDialog::createPreview()
{
    // While the constructor loads the stored choices, each would read the file again.
    if (loading)
        return;
    ui->treeWidget->clear();
    QList<QTreeWidgetItem *> items;
    for (const QStringList &row : windPreviewRows(windFileName, chosenFormat()))
        items.append(new QTreeWidgetItem(row));
    ui->treeWidget->addTopLevelItems(items);
}

void LoadWindDialog::on_comboBox_currentTextChanged(const QString &)
{
    createPreview();
}

void LoadWindDialog::on_comboBox_3_currentTextChanged(const QString &)
{
    createPreview();
}

void LoadWindDialog::on_comboBox_6_currentTextChanged(const QString &)
{
    createPreview();
}

void LoadWindDialog::on_comboBox_4_currentTextChanged(const QString &)
{
    createPreview();
}

void LoadWindDialog::on_comboBox_5_currentTextChanged(const QString &)
{
    createPreview();
}

void LoadWindDialog::on_checkBox_clicked(bool)
{
    createPreview();
}

void LoadWindDialog::on_radioButton_toggled(bool checked)
{
    if (checked)
        createPreview();
}

void LoadWindDialog::on_radioButton_2_toggled(bool checked)
{
    if (checked)
        createPreview();
}

void LoadWindDialog::on_radioButton_3_toggled(bool checked)
{
    if (checked)
        createPreview();
}

void LoadWindDialog::on_comboBox_2_currentIndexChanged(int)
{
    createPreview();
}

void LoadWindDialog::on_buttonBox_accepted()
{
    WindDataSettings settings;
    settings.format = chosenFormat();
    settings.considerDaylightSaving = ui->checkBox->isChecked();
    // With no offered zone selected the stored id stays as it was.
    settings.timeZone = TimeZoneChoiceList::idAt(timeZones, ui->comboBox_2->currentIndex(), storedTimeZoneId);
    writeWindDataSettings(folder, settings);
}
