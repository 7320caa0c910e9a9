#include "dialogs/frmGotoLine.h"

#include "platform/KeyCodes.h"
#include "platform/Prompts.h"
#include "platform/Reports.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "common/AppState.h"
#include "common/FrameServices.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

frmGotoLine::frmGotoLine(FrameServices& frame)
    : QDialog(frame.frameWindow()), frame_(frame), Label1(new QLabel(QStringLiteral("Goto Line:"), this)),
      LineValue_(new QLineEdit(this)), cmdGotoLine(new QPushButton(QStringLiteral("&Goto Line"), this)),
      cmdCancel(new QPushButton(QStringLiteral("&Cancel"), this)) {
    setWindowTitle(QStringLiteral("Goto Line"));
    // The range the box accepts, from the document in front when the dialog opens.
    const SourceView* view = frame_.activeView();
    Range_ = new QLabel(view ? QStringLiteral("Lines 1 to %1").arg(lastLine(*view)) : QString(), this);
    Range_->setObjectName(QStringLiteral("Range"));
    setObjectName(QStringLiteral("frmGotoLine"));
    LineValue_->setObjectName(QStringLiteral("LineValue"));
    Label1->setBuddy(LineValue_);
    cmdGotoLine->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(LineValue_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdGotoLine);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(Range_);
    layout->addLayout(buttons);
    LineValue_->installEventFilter(this);
    connect(cmdGotoLine, &QPushButton::clicked, this, &frmGotoLine::cmdGotoLine_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGotoLine::cmdCancel_Click);
    // Wide enough for the title next to the window manager's buttons.
    setMinimumWidth(std::max(minimumSizeHint().width(), fontMetrics().horizontalAdvance(windowTitle()) +
                                                            fontMetrics().averageCharWidth() * 24));
}

int frmGotoLine::lastLine(const SourceView& view) {
    return std::max(view.Document().NumLines(), 1);
}

bool frmGotoLine::LineValue_KeyPress(int keyAscii) const {
    return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8;
}

void frmGotoLine::LineValue_KeyDown(int keyCode, int) {
    if (keyCode == keys::VK_Return)
        cmdGotoLine_Click();
    else if (keyCode == keys::VK_Escape)
        reject();
}

bool frmGotoLine::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LineValue_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int code = keys::virtualKey(*key);
        if (code == keys::VK_Return || code == keys::VK_Escape) {
            LineValue_KeyDown(code, keys::shiftMask(key->modifiers()));
            return true;
        }
        // Characters other than digits and Backspace never reach the box (pasting with Ctrl+V included).
        const QString typed = key->text();
        const int ascii = key->key() == Qt::Key_Backspace ? 8 : typed.isEmpty() ? 0 : typed.at(0).unicode();
        if (ascii != 0 && !LineValue_KeyPress(ascii))
            return true;
        if (key->matches(QKeySequence::Paste))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmGotoLine::cmdGotoLine_Click() {
    const QString typed = LineValue_->text();
    if (typed.isEmpty())
        return;
    const double value = text::Val(typed);
    SourceView* target = frame_.activeView();
    if (!target) {
        reports::named(frame_.state().prompts, this, QStringLiteral("Goto Error: "), AppError::objectNotSet());
        return;
    }
    // A number past either end goes to that end of the document.
    const int n = int(std::clamp(value, 1.0, double(lastLine(*target))));
    target->SetScrollPos(0, n);
    target->MoveCaret(0, n - 1);
    accept();
}

void frmGotoLine::cmdCancel_Click() {
    reject();
}
