#pragma once

class QDialog;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// The layout both options dialogs share: a form of labelled fields, and OK, Cancel and Help at the
// bottom right, OK the default button.
namespace optionslayout {

// A path field with its "..." browse button beside it.
QWidget* withBrowse(QLineEdit* field, QPushButton* browse);

// Places the form above the three buttons and sizes the dialog to `width`.
void arrange(QDialog& dialog, QFormLayout* form, QPushButton* ok, QPushButton* cancel, QPushButton* help,
             int width);

} // namespace optionslayout
