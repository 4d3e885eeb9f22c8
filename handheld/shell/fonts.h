// The handheld's fonts. Programs ask for a face by name and cell height in pixels, as on the handheld;
// where the host lacks the face a narrow sans face of the same size stands in.
#pragma once

#include <QFont>
#include <QString>

namespace handheld {

// The face at this cell height (the character height plus the face's internal leading).
QFont HandheldFont(const QString& family, int cellHeightPx, bool bold = false);
// "Tahoma", the face of every dialog of the program.
QFont DialogFont(int cellHeightPx = 13, bool bold = false);

}  // namespace handheld
