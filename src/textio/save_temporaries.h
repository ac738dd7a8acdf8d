// The hidden temporary files beside a saved file: their names, and the
// removal of those that saves which died part-way left behind.
#pragma once

#include <QString>

namespace textio {

// A new name for the temporary file of a save of `fileName` into `folder`:
// "." and the target's name, then ".~vt", a random part, a check of the
// name and ".tmp". The check is a digest of the rest of the name under the
// program's own key, so that a name the program did not make is never taken
// for one of its temporaries. A target's name that leaves no room for the
// bytes added is shortened, so that any name the file system takes for the
// target can be saved.
QString temporaryPathBeside(const QString& folder, const QString& fileName);

// True when `name` (a file name without folder) bears the mark of the
// program's temporary files.
bool isTemporaryName(const QString& name);

// Removes from `folder` the temporary files that saves which died part-way
// left there. Only the program's own go: a name with its mark, and a file
// removeLeftFile() (file_handles.h) shows unused. Everything else in the
// folder stays as it is.
void removeLeftTemporaries(const QString& folder);

} // namespace textio
