#include "platform/sourceview/FindReplaceDialog.h"

#include "platform/sourceview/SourceView.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

FindReplaceDialog::FindReplaceDialog(SourceView& view, QWidget* parent)
    : QDialog(parent), view_(view), findEdit_(new QLineEdit), replaceEdit_(new QLineEdit),
      replaceLabel_(new QLabel(tr("Re&place with:"))), matchCase_(new QCheckBox(tr("Match &case"))),
      wholeWord_(new QCheckBox(tr("Match &whole word only"))), up_(new QRadioButton(tr("&Up"))),
      down_(new QRadioButton(tr("&Down"))), findNext_(new QPushButton(tr("&Find Next"))),
      replace_(new QPushButton(tr("&Replace"))), replaceAll_(new QPushButton(tr("Replace &All"))),
      close_(new QPushButton(tr("Close"))) {
    setModal(false);
    // One grid, so that the two fields line up; each label's access key goes to its field.
    auto* fields = new QGridLayout;
    auto* findLabel = new QLabel(tr("Fi&nd what:"));
    findLabel->setBuddy(findEdit_);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findEdit_, 0, 1);
    replaceLabel_->setBuddy(replaceEdit_);
    fields->addWidget(replaceLabel_, 1, 0);
    fields->addWidget(replaceEdit_, 1, 1);

    auto* direction = new QGroupBox(tr("Direction"));
    auto* dirLayout = new QHBoxLayout(direction);
    dirLayout->addWidget(up_);
    dirLayout->addWidget(down_);
    down_->setChecked(true);

    auto* left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(matchCase_);
    left->addWidget(wholeWord_);
    left->addWidget(direction);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(findNext_);
    buttons->addWidget(replace_);
    buttons->addWidget(replaceAll_);
    buttons->addWidget(close_);
    buttons->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(buttons);
    findNext_->setDefault(true);

    connect(findNext_, &QPushButton::clicked, this, &FindReplaceDialog::onFindNext);
    connect(replace_, &QPushButton::clicked, this, &FindReplaceDialog::onReplace);
    connect(replaceAll_, &QPushButton::clicked, this, &FindReplaceDialog::onReplaceAll);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(findEdit_, &QLineEdit::textChanged, this, &FindReplaceDialog::updateButtons);
    updateButtons();
}

void FindReplaceDialog::showFind(const QString& preset) {
    setMode(false, preset);
}
void FindReplaceDialog::showReplace(const QString& preset) {
    setMode(true, preset);
}

void FindReplaceDialog::setMode(bool replace, const QString& preset) {
    replaceMode_ = replace;
    setWindowTitle(replace ? tr("Replace") : tr("Find"));
    replaceLabel_->setVisible(replace);
    replaceEdit_->setVisible(replace);
    replace_->setVisible(replace);
    replaceAll_->setVisible(replace);
    if (!preset.isEmpty())
        findEdit_->setText(preset);
    findEdit_->selectAll();
    show();
    raise();
    activateWindow();
    findEdit_->setFocus();
}

QString FindReplaceDialog::findText() const {
    return findEdit_->text();
}
QString FindReplaceDialog::replaceText() const {
    return replaceEdit_->text();
}
bool FindReplaceDialog::matchCase() const {
    return matchCase_->isChecked();
}
bool FindReplaceDialog::wholeWord() const {
    return wholeWord_->isChecked();
}
bool FindReplaceDialog::forward() const {
    return !up_->isChecked();
}

void FindReplaceDialog::updateButtons() {
    const bool any = !findEdit_->text().isEmpty();
    findNext_->setEnabled(any);
    replace_->setEnabled(any);
    replaceAll_->setEnabled(any);
}

// The boxes the view shows are this dialog's; after one the next term is typed over the last.
void FindReplaceDialog::onFindNext() {
    if (!view_.FindText(findText(), matchCase(), wholeWord(), forward(), this))
        selectFindText();
}

void FindReplaceDialog::onReplace() {
    if (!view_.ReplaceOnce(findText(), replaceText(), matchCase(), wholeWord(), this))
        selectFindText();
}

void FindReplaceDialog::onReplaceAll() {
    view_.ReplaceAll(findText(), replaceText(), matchCase(), wholeWord(), this);
    selectFindText();
}

void FindReplaceDialog::selectFindText() {
    activateWindow();
    findEdit_->selectAll();
    findEdit_->setFocus();
}

QRect FindReplaceDialog::placedClearOf(const QRect& window, const QRect& area, const QRect& screen) {
    if (!window.intersects(area))
        return window;
    QRect above = window;
    above.moveBottom(area.top() - 1);
    QRect below = window;
    below.moveTop(area.bottom() + 1);
    const bool aboveFits = above.top() >= screen.top();
    const bool belowFits = below.bottom() <= screen.bottom();
    if (aboveFits && belowFits)
        return window.top() - above.top() <= below.top() - window.top() ? above : below;
    if (aboveFits || belowFits)
        return aboveFits ? above : below;
    QRect r = area.top() - screen.top() >= screen.bottom() - area.bottom() ? above : below;
    r.moveTop(std::clamp(r.top(), screen.top(), std::max(screen.top(), screen.bottom() - r.height() + 1)));
    return r;
}

void FindReplaceDialog::keepClearOf(const QRect& area) {
    const QRect frame = frameGeometry();
    const QRect to = placedClearOf(frame, area, screen() ? screen()->availableGeometry() : frame.united(area));
    if (to != frame)
        move(pos() + to.topLeft() - frame.topLeft());
}
