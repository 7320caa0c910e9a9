#include "editor/frmEditor.h"

#include "toolchain/CaptureFile.h"
#include "editor/ColorTable.h"
#include "editor/DrawClass.h"
#include "editor/LabelWatch.h"
#include "platform/Colors.h"
#include "platform/HelpViewer.h"
#include "platform/Prompts.h"
#include "platform/ShellServices.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/DocumentRules.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMimeData>
#include <QTextEdit>
#include <QTimer>

namespace {

// A stored colour text as a number; false when it is not one.
bool storedColor(const QString& text, qint32& out) {
    double v = 0;
    if (!text::ToNumber(text, v) || v < -2147483648.0 || v > 4294967295.0)
        return false;
    out = qint32(static_cast<qint64>(v));
    return true;
}

} // namespace

frmEditor::frmEditor(FrameServices& frame, AppState& state)
    : frame_(frame), state_(state), View_(new SourceView(this)), List1_(new QListWidget(View_)),
      SyntaxHelp_(new QTextEdit(View_)), CheckFile_(new QTimer(this)),
      labels_(new LabelWatch(
          View_->Document(), [this] { return state_.settings.read(settings::startup::CompilerPathName); },
          this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(View_);
    View_->SetPrompts(&state_.prompts);
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->hide();
    List1_->setFocusPolicy(Qt::NoFocus);
    SyntaxHelp_->setObjectName(QStringLiteral("SyntaxHelp"));
    SyntaxHelp_->setReadOnly(true);
    SyntaxHelp_->setFocusPolicy(Qt::NoFocus);
    SyntaxHelp_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SyntaxHelp_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SyntaxHelp_->setLineWrapMode(QTextEdit::NoWrap);
    SyntaxHelp_->document()->setDocumentMargin(2);
    SyntaxHelp_->hide();
    CheckFile_->setInterval(1000);
    CheckFile_->setObjectName(QStringLiteral("CheckFile"));
    List1_->setFixedSize(127, 120);
    List1_->setUniformItemSizes(true);
    List1_->installEventFilter(this);
    List1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    SyntaxHelp_->setFrameStyle(QFrame::Box | QFrame::Plain);
    stylePopups();
    connect(View_, &SourceView::ExecuteCommandEvent, this, &frmEditor::View_ExecuteCommand);
    connect(View_, &SourceView::CaretMove, this, &frmEditor::View_CaretMove);
    connect(View_, &SourceView::KeyDown, this, &frmEditor::View_KeyDown);
    connect(View_, &SourceView::KeyUp, this, &frmEditor::View_KeyUp);
    connect(View_, &SourceView::KeyPress, this, &frmEditor::View_KeyPress);
    connect(View_, &SourceView::LinesChanged, this, &frmEditor::View_LinesChanged);
    connect(View_, &SourceView::SelectionChanged, this, &frmEditor::selectionChanged);
    connect(View_, &SourceView::MouseUp, this, &frmEditor::View_MouseUp);
    connect(View_, &SourceView::StatusMessage, this, [this](const QString& text) { frame_.showStatusMessage(text); });
    connect(List1_, &QListWidget::itemDoubleClicked, this, &frmEditor::List1_DblClick);
    connect(CheckFile_, &QTimer::timeout, this, &frmEditor::CheckFile_Timer);
}

bool frmEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1_ && event->type() == QEvent::FocusIn)
        List1_GotFocus();
    return QMdiSubWindow::eventFilter(watched, event);
}

frmEditor::~frmEditor() {
    // The controls outlive this body; what they signal while they are torn down must not reach a
    // window whose members are gone.
    disconnect(View_, nullptr, this, nullptr);
    disconnect(List1_, nullptr, this, nullptr);
    disconnect(CheckFile_, nullptr, this, nullptr);
    // A window destroyed without a close (the frame going away) still leaves its records behind.
    if (!unloaded_)
        View_->SetDrawHook(nullptr);
}

QString frmEditor::caption() const {
    return caption_;
}

void frmEditor::setCaption(const QString& caption) {
    caption_ = caption;
    // The title bar shows the file's name first, so that a narrow (tiled) window still shows it.
    const QFileInfo path(caption);
    const QString name = path.fileName();
    setWindowTitle(name.isEmpty() || name == caption
                       ? caption
                       : name + QStringLiteral(" - ") + QDir::toNativeSeparators(path.path()));
}

void frmEditor::Form_Load() {
    // A window handle of the classic API is a 32-bit number; ours only has to tell windows apart.
    state_.HelpOwner = qint32(reinterpret_cast<quintptr>(this) & 0x7fffffff);
    frame_.help().InitHelp(state_.HelpOwner, state_.settings.paths().applicationFolder());

    SourceDocument& doc = View_->Document();
    doc.SetDocumentSetting(3);
    doc.SetSLCommentStart(QStringLiteral("'"));
    doc.SetSLCommentStart2(QStringLiteral("rem"));
    doc.SetStringDelimiter(QStringLiteral("\""));

    InitPBPCodes();
    LoadReservedWords();

    doc.SetLanguageFlags(112);
    applyColors();

    draw_ = std::make_unique<DrawClass>();
    draw_->setView(View_);
    draw_->setLabels(labels_);
    View_->SetDrawHook(draw_.get());

    state_.MouseTokenClass = 0;
    state_.QuickListMode = quicklists::Idle;
}

void frmEditor::applyColors() {
    Settings& s = state_.settings;
    qint32 back = 0;
    if (storedColor(s.read(settings::colors::svBackGround), back)) {
        for (int cls = 0; cls <= 15; ++cls)
            View_->TokenInfo().SetBackgroundColor(cls, back, true);
        View_->SetTextBackColor(back);
        View_->SetBackColor(back);
    }
    // The printer gets the same colours and bold classes as the screen, always the set for white paper.
    const QString vouched = s.read(settings::colors::OwnColors);
    ownColors_ = 0;
    for (const colortable::Row& row : colortable::Rows) {
        qint32 c = 0;
        if (!storedColor(s.read(row.key), c))
            continue;
        if (colortable::isOwn(row, c, colortable::vouchedFor(vouched, row)))
            ownColors_ |= 1u << row.tokenClass;
    }
    stock_.fill(NoStock);
    followBackground();
    for (int cls = 10; cls <= 15; ++cls) {
        View_->TokenInfo().SetTokenStyle(cls, 1, -1);
        View_->PrintTokenInfo().SetTokenStyle(cls, 1, -1);
    }
}

void frmEditor::followBackground() {
    Settings& s = state_.settings;
    const QColor background = colors::toQColor(View_->TextBackColor());
    const bool chosen = !colors::isSystem(View_->TextBackColor());
    for (const colortable::Row& row : colortable::Rows) {
        qint32 c = 0;
        if (!storedColor(s.read(row.key), c))
            continue;
        const bool own = isOwnColor(row.tokenClass);
        const qint32 onScreen = colortable::shown(row, c, own, background, chosen);
        stock_[size_t(row.tokenClass)] = own ? NoStock : onScreen;
        if (!View_->TokenInfo().HasForegroundColor(row.tokenClass) ||
            View_->TokenInfo().ForegroundColor(row.tokenClass) != onScreen)
            View_->TokenInfo().SetForegroundColor(row.tokenClass, onScreen, -1);
        const qint32 printed = colortable::shown(row, c, own, Qt::white, false);
        if (!View_->PrintTokenInfo().HasForegroundColor(row.tokenClass) ||
            View_->PrintTokenInfo().ForegroundColor(row.tokenClass) != printed)
            View_->PrintTokenInfo().SetForegroundColor(row.tokenClass, printed, -1);
    }
}

void frmEditor::stylePopups() {
    // Called as the lists are shown, on every key: only a new background or palette is worth the work.
    const std::pair<qint32, qint64> now{View_->TextBackColor(), QApplication::palette().cacheKey()};
    if (now == popupsStyledFor_)
        return;
    popupsStyledFor_ = now;
    const colors::PopupColors c = colors::popupColors(colors::toQColor(View_->TextBackColor()),
                                                      QApplication::palette().color(QPalette::Text));
    for (QWidget* popup : {static_cast<QWidget*>(List1_), static_cast<QWidget*>(SyntaxHelp_)}) {
        QPalette pal = QApplication::palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            pal.setColor(group, QPalette::Base, c.background);
            pal.setColor(group, QPalette::Window, c.background);
            pal.setColor(group, QPalette::Text, c.text);
            pal.setColor(group, QPalette::WindowText, c.border); // the plain box frame
        }
        popup->setPalette(pal);
    }
}

bool frmEditor::isOwnColor(int tokenClass) const {
    if ((ownColors_ >> tokenClass) & 1u)
        return true;
    // A colour the control holds other than the stock colour this window gave it was set as someone's
    // choice as well.
    const TokenStyles& styles = View_->TokenInfo();
    const qint64 stock = stock_[size_t(tokenClass)];
    return stock != NoStock && styles.HasForegroundColor(tokenClass) && styles.ForegroundColor(tokenClass) != stock;
}

void frmEditor::changeEvent(QEvent* e) {
    QMdiSubWindow::changeEvent(e);
    // The default background is the desktop's window colour: when the desktop switches between a
    // light and a dark theme, the stock token colours switch with it.
    if (e->type() == QEvent::PaletteChange) {
        followBackground();
        stylePopups();
    }
}

void frmEditor::Form_Activate() {
    // The document's own device; the frame shows the rest of this window's state itself.
    frame_.toolBars().SetListIndex(ids::ID_Device, DeviceIndex);
    frame_.GetDeviceData(false);
    // The included files may have changed while another window was in front.
    labels_->rereadIncludes();
}

void frmEditor::Form_Resize() {
    if (List1_->isVisible())
        List1_->hide();
    if (SyntaxHelp_->isVisible())
        SyntaxHelp_->hide();
}

void frmEditor::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    Form_Resize();
}

bool frmEditor::SaveModified() {
    SourceDocument& doc = View_->Document();
    if (!doc.Modified())
        return true;
    const Prompts::Answer a =
        state_.prompts.message(this, QStringLiteral("Save Changes to ") + doc.PathName(), QString(),
                               Prompts::Buttons::YesNoCancel, Prompts::Icon::Question);
    if (a == Prompts::Answer::No)
        return true;
    if (a != Prompts::Answer::Yes)
        return false;
    QString name;
    const bool chosen =
        state_.prompts.saveFile(this, {QString(), doc.PathName(), docrules::SourceFilter}, name);
    if (!chosen)
        return false;
    if (name.isEmpty()) {
        state_.prompts.message(this, QStringLiteral("No file name entered."), QStringLiteral("File Error"));
        return false;
    }
    if (const AppError err = frame_.saveDocument(*this, name)) {
        // The text is still only in the editor: keep the window open rather than lose it.
        if (!err.isCancel())
            frame_.ShowError(err);
        return false;
    }
    return true;
}

void frmEditor::closeEvent(QCloseEvent* event) {
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    emit closed(this);
}

bool frmEditor::Form_Unload() {
    if (unloaded_)
        return true;
    if (!SaveModified())
        return false;
    unloaded_ = true;
    CheckFile_->stop();

    frame_.documentClosing(*this);

    saveColors();
    state_.settings.save(settings::startup::LastFile, View_->Document().PathName());

    View_->SetDrawHook(nullptr);
    if (draw_)
        draw_->setView(nullptr);
    return true;
}

void frmEditor::saveColors() {
    Settings& s = state_.settings;
    QStringList vouched;
    for (const colortable::Row& row : colortable::Rows) {
        if (!View_->TokenInfo().HasForegroundColor(row.tokenClass))
            continue;
        const bool own = isOwnColor(row.tokenClass);
        const qint32 c = colortable::toStore(row, View_->TokenInfo().ForegroundColor(row.tokenClass), own);
        s.save(row.key, QString::number(c));
        if (colortable::needsVouching(row, c, own))
            vouched << QLatin1StringView(row.key.name);
    }
    // Written when there is something to vouch for, or something written before to take back.
    if (!vouched.isEmpty() || !s.read(settings::colors::OwnColors).isEmpty())
        s.save(settings::colors::OwnColors, vouched.join(u' '));
    s.save(settings::colors::svBackGround, QString::number(View_->BackColor()));
}

QString frmEditor::GetShortPath(const QString& path) {
    const QString shortPath = shell::shortPath(path);
    if (shortPath.isEmpty())
        state_.prompts.message(
            this,
            withPath(QStringLiteral("Error! Invalid Path or File Name..\n"
                                    "If the problem persists, please call Korvana Systems support."),
                     AppError(AppError::PathNotFound, QString(), path)),
            QString(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
    return shortPath;
}
