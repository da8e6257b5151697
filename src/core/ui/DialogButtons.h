#pragma once
// The "OK" and "Cancel" row of the small modal dialogs: "OK" is the default
// button ("okButton"), "Cancel" ("cancelButton") rejects the dialog. The
// caller connects `accepted` to its own check of the fields.

class QDialog;
class QDialogButtonBox;

namespace tsl {

QDialogButtonBox* OkCancelButtons(QDialog* dialog);

// The single "OK" ("okButton", the default) of a dialog that only shows
// something: it accepts the dialog.
QDialogButtonBox* OkButton(QDialog* dialog);

} // namespace tsl
