#include "toolchain/OptionsLayout.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace optionslayout {

QWidget* withBrowse(QLineEdit* field, QPushButton* browse) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(browse);
    browse->setFixedWidth(32);
    // The row's label hands the focus to the field.
    row->setFocusProxy(field);
    return row;
}

void arrange(QDialog& dialog, QFormLayout* form, QPushButton* ok, QPushButton* cancel, QPushButton* help,
             int width) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {ok, cancel, help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    layout->addLayout(buttons);
    dialog.resize(width, dialog.sizeHint().height());
}

} // namespace optionslayout
