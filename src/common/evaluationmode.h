#pragma once

/**
 * What the window is evaluating: `MainWindow::evaluationMode`, stored as an
 * int. The folder list (`treeWidget_2`) belongs to Folder; the three
 * evaluations from Manual on fill `treeWidget_fileView`, and from Tavron on
 * their rows carry proposals.
 */
namespace EvaluationMode {
enum Mode : int {
    SingleFile = 0,     // one recording, no list
    Folder = 1,         // a folder's recordings, opened or dropped
    Manual = 2,         // manual evaluation of a folder
    Tavron = 3,         // Tavron folder evaluation: proposals computed from the recordings
    RecorderReview = 4, // review of the recorder's own analysis (WAV only)
};

/** Manual, Tavron or the recorder review: the modes that fill `treeWidget_fileView`. */
inline bool isEvaluation(int mode)
{
    return mode >= Manual && mode <= RecorderReview;
}

/** Tavron or the recorder review: the modes whose rows carry proposals (and the accept column). */
inline bool hasProposals(int mode)
{
    return mode == Tavron || mode == RecorderReview;
}

/** Every mode with a file list: a folder or one of the evaluations. */
inline bool hasFileList(int mode)
{
    return mode >= Folder && mode <= RecorderReview;
}
} // namespace EvaluationMode
