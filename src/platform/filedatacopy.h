#pragma once

class QFile;

// Copies the rest of `in` to `out` (both open) inside the kernel where the
// system offers that (Linux: copy_file_range), so the data never passes
// through this process; elsewhere, or where the file systems refuse it,
// through a buffer. False on a read or write error, a full disk among them:
// true only once every byte has left this process.
bool copyFileData(QFile &in, QFile &out);
