#pragma once
// The folder the file dialogs open in. Choosing a file in one of them moves
// it there; it is kept between runs as "LastPath". The program's working
// directory never moves, so a path named on the command line keeps its
// meaning.

#include <QString>

namespace qm::ui {

// The working directory until a file was chosen or a folder restored.
QString dialogFolder();
void setDialogFolder(const QString& folder);
// The folder of a chosen file becomes the dialog folder; returns the file.
QString rememberDialogFile(const QString& file);
// A typed name; a relative one is taken in the dialog folder, as a file
// dialog opened there would take it.
QString absoluteInDialogFolder(const QString& typed);

} // namespace qm::ui
