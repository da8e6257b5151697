#pragma once
// The editor's own mouse cursors, "Pencil", "Flood", "Pick" and "Select",
// shipped as resources and registered once at start-up.

#include <QCursor>
#include <QPixmap>
#include <QString>

namespace tsl {

// Loads the four cursors; call once after the QApplication exists.
void RegisterCursors();
// The cursor of that name; the arrow for a name that is not registered.
QCursor CursorNamed(const QString& name);
bool CursorRegistered(const QString& name);
// The picture of a cursor (for the tool buttons); registers the resources itself.
QPixmap CursorPicture(const QString& name);

} // namespace tsl
