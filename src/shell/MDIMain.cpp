#include "shell/MDIMain.h"
#include "shell/StatusPanel.h"

#include "common/DocumentRules.h"
#include "common/Settings.h"
#include "common/ToolIds.h"
#include "editor/frmEditor.h"
#include "language/HelpPages.h"
#include "platform/HelpViewer.h"
#include "platform/Prompts.h"
#include "platform/Reports.h"
#include "platform/ShellServices.h"
#include "platform/TextHelpers.h"
#include "platform/WindowPlacement.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "platform/toolbars/ToolBarFlow.h"
#include "platform/toolbars/ToolIcons.h"
#include "shell/Autosave.h"
#include "shell/CodeExplorer.h"
#include "shell/EditActions.h"
#include "shell/FrameLayout.h"
#include "shell/LabelCombo.h"
#include "shell/TaskTabBar.h"
#include "terminal/frmComm.h"
#include "toolchain/Simulation.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>

MDIMain::MDIMain(Settings& settings, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), settings_(settings), state_(settings, prompts),
      SSActiveToolBars1(new ActiveToolBars(this)), mdiArea_(new QMdiArea), TaskBarPanel(new QWidget),
      TaskBar_(new TaskTabBar(TaskBarPanel)),
      help_(std::make_unique<HelpViewer>(settings.paths().dataFile(QStringLiteral("help")),
                                         &HelpPages::helpFileForContext)),
      diskWatcher_(new QFileSystemWatcher(this)), diskCheck_(new QTimer(this)),
      autosave_(std::make_unique<Autosave>(
          AppPaths::join(settings.paths().userDataFolder(), QStringLiteral("autosave")))),
      autosaveTimer_(new QTimer(this)) {
    setWindowTitle(QStringLiteral("Pinwright"));
    // The application's icon, when it has one, is the window's already: drawn once, kept once.
    if (QGuiApplication::windowIcon().isNull())
        setWindowIcon(toolicons::application());
    setObjectName(QStringLiteral("MDIMain"));
    setAcceptDrops(true);

    buildFrameTools(*SSActiveToolBars1);
    labelCombo_ = std::make_unique<LabelCombo>(*SSActiveToolBars1);
    setMenuBar(SSActiveToolBars1->menuBar());
    // The toolbars flow across the top in their order, wrapped to the frame's width; a part moved by
    // hand would only be put back at the next wrap.
    for (QToolBar* bar : frameToolBars(*SSActiveToolBars1)) {
        bar->setMovable(false);
        bar->installEventFilter(this);
        addToolBar(Qt::TopToolBarArea, bar);
    }
    reflowToolBars();

    TaskBarPanel->setObjectName(QStringLiteral("TaskBarPanel"));
    TaskBar_->setObjectName(QStringLiteral("TaskBar"));
    TaskBar_->setExpanding(false);
    TaskBar_->setDocumentMode(true);
    // The strip is laid out with one placeholder tab that start-up removes.
    TaskBar_->addTab(QString());
    auto* panelLayout = new QVBoxLayout(TaskBarPanel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(TaskBar_);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TaskBarPanel);
    layout->addWidget(mdiArea_, 1);
    setCentralWidget(central);
    mdiArea_->setObjectName(QStringLiteral("MDIArea"));
    mdiArea_->setActivationOrder(QMdiArea::CreationOrder);

    buildStatusBar();
    buildCodeExplorer();
    editActions_ = new EditActions(
        *SSActiveToolBars1, *labelCombo_,
        [this](int panel, const QString& text) { SetPanelText(panel, text); }, this);

    registerCommands();
    SSActiveToolBars1->SetEnabled(ids::ID_StopSimulation, false);
    SSActiveToolBars1->action(ids::ID_PrintLineNumbers)->setChecked(printLineNumbers());
    installWindowKeys();
    connect(SSActiveToolBars1, &ActiveToolBars::ToolClick, this, &MDIMain::SSActiveToolBars1_ToolClick);
    connect(SSActiveToolBars1, &ActiveToolBars::ComboDropDown, this,
            &MDIMain::SSActiveToolBars1_ComboDropDown);
    connect(SSActiveToolBars1, &ActiveToolBars::ComboCloseUp, this, &MDIMain::SSActiveToolBars1_ComboCloseUp);
    // Escape in a toolbar combo goes back to the text of the window in front.
    connect(SSActiveToolBars1, &ActiveToolBars::ComboLeft, this, [this] {
        if (frmEditor* w = activeEditor())
            w->View().setFocus(Qt::ShortcutFocusReason);
    });
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &MDIMain::onSubWindowActivated);
    // A program writing a file often does it in several steps: look once things have settled, and
    // again whenever the user comes back to this program.
    diskCheck_->setSingleShot(true);
    diskCheck_->setInterval(300);
    connect(diskCheck_, &QTimer::timeout, this, &MDIMain::checkDocumentsOnDisk);
    connect(autosaveTimer_, &QTimer::timeout, this, &MDIMain::autosaveNow);
    connect(diskWatcher_, &QFileSystemWatcher::fileChanged, diskCheck_, qOverload<>(&QTimer::start));
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            diskCheck_->start();
    });
    connect(TaskBar_, &QTabBar::tabBarClicked, this, [this](int index) {
        // The click selects the tab first, as the tab strip itself would.
        if (index >= 0 && index != TaskBar_->currentIndex())
            TaskBar_->setCurrentIndex(index);
        TaskBar_Click();
    });
}

MDIMain::~MDIMain() {
    // The children outlive this body: QWidget's destructor hides and deletes them after the frame's
    // own members are gone. Their signals must not reach the frame then (an MDI area re-activating a
    // sub-window as its neighbour hides), so cut them off and take the editor windows down first.
    disconnect(mdiArea_, nullptr, this, nullptr);
    disconnect(mdiArea_, nullptr, explorer_, nullptr);
    disconnect(SSActiveToolBars1, nullptr, this, nullptr);
    disconnect(TaskBar_, nullptr, this, nullptr);
    disconnect(qApp, nullptr, this, nullptr);
    diskCheck_->stop();
    autosaveTimer_->stop();
    if (simulation_) {
        disconnect(simulation_, nullptr, this, nullptr);
        delete simulation_;
        simulation_ = nullptr;
    }
    for (QMdiSubWindow* w : mdiArea_->subWindowList())
        delete w;
}

void MDIMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    const int widths[] = {130, 0, 60, 60, 50};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new StatusPanel(bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        if (widths[i])
            panel->setMinimumWidth(widths[i]);
        if (i == 1)
            bar->addWidget(panel, 1);
        else
            bar->addPermanentWidget(panel);
        panels_ << panel;
    }
    // Panel 1 is first on the left.
    bar->removeWidget(panels_[0]);
    bar->insertWidget(0, panels_[0]);
    panels_[0]->show();
    // The active document's encoding, with the two commands that change it.
    encodingPanel_ = new QToolButton(bar);
    encodingPanel_->setObjectName(QStringLiteral("EncodingPanel"));
    encodingPanel_->setAutoRaise(true);
    encodingPanel_->setPopupMode(QToolButton::InstantPopup);
    encodingPanel_->setToolTip(QStringLiteral("Encoding of the file"));
    auto* menu = new QMenu(encodingPanel_);
    menu->addAction(QStringLiteral("Reopen with Encoding..."), this,
                    [this] { SSActiveToolBars1_ToolClick(ids::ID_ReopenEncoding); });
    menu->addAction(QStringLiteral("Save with Encoding..."), this,
                    [this] { SSActiveToolBars1_ToolClick(ids::ID_SaveEncoding); });
    encodingPanel_->setMenu(menu);
    bar->addPermanentWidget(encodingPanel_);
    encodingPanel_->hide();
    readOnlyPanel_ = new StatusPanel(bar);
    readOnlyPanel_->setText(QStringLiteral("Read-only"));
    readOnlyPanel_->setObjectName(QStringLiteral("ReadOnlyPanel"));
    readOnlyPanel_->setToolTip(QStringLiteral("The file cannot be written: Save As keeps the changes elsewhere"));
    bar->addPermanentWidget(readOnlyPanel_);
    readOnlyPanel_->hide();
}

void MDIMain::showReadOnly() {
    // Every tab whose file cannot be written carries the sign; the status bar says it for the window
    // in front.
    auto* tabs = static_cast<TaskTabBar*>(TaskBar_);
    frmEditor* active = activeEditor();
    bool activeReadOnly = false;
    for (frmEditor* w : editors()) {
        const bool readOnly = docrules::cannotWrite(w->View().Document().PathName());
        if (const int tab = tabOf(w->caption()); tab >= 0)
            tabs->setTabReadOnly(tab, readOnly);
        if (w == active)
            activeReadOnly = readOnly;
    }
    readOnlyPanel_->setVisible(activeReadOnly);
}

int MDIMain::tabOf(const QString& caption) const {
    const QString wanted = text::Trim(caption);
    for (int i = 0; i < TaskBar_->count(); ++i)
        if (text::Trim(TaskBar_->tabText(i)) == wanted)
            return i;
    return -1;
}

void MDIMain::showEncoding() {
    frmEditor* w = activeEditor();
    encodingPanel_->setVisible(w);
    if (w)
        encodingPanel_->setText(w->View().Document().encodingName());
}

QString MDIMain::PanelText(int panel) const {
    return panel >= 1 && panel <= panels_.size() ? panels_[panel - 1]->text() : QString();
}

void MDIMain::SetPanelText(int panel, const QString& text) {
    if (panel >= 1 && panel <= panels_.size())
        panels_[panel - 1]->setText(text);
}

QString MDIMain::PanelToolTip(int panel) const {
    return panel >= 1 && panel <= panels_.size() ? panels_[panel - 1]->toolTip() : QString();
}

void MDIMain::ShowCompilerPanel() {
    SetPanelText(5, state_.PBPMode ? QStringLiteral("PBP") : QStringLiteral("PBC"));
    panels_[4]->setToolTip(state_.PBPMode ? QStringLiteral("Using: PicBasic Pro Compiler")
                                          : QStringLiteral("Using: PicBasic Compiler"));
}

void MDIMain::selectTabQuietly(int index) {
    taskBarTag_ = QStringLiteral("True");
    TaskBar_->setCurrentIndex(index);
    taskBarTag_ = QStringLiteral("False");
}

void MDIMain::MDIForm_Load(const QString& commandLine) {
    // 1-2. The compiler in use.
    state_.PBPMode = text::ValInt(settings_.read(settings::startup::CompilerType)) == 0;
    ShowCompilerPanel();
    // 3. Placement, before the frame first appears: only then does the window system take the stored
    // position as that of the outer frame, as it is saved at exit. Placed after showing, the position
    // lands on the inner area and the frame creeps by its title bar and border at every start.
    applyPlacement();
    show();
    fitMenusToScreen();
    connect(windowHandle(), &QWindow::screenChanged, this, &MDIMain::fitMenusToScreen);
    // 4. Recent files.
    restoreRecentFiles();
    // 5. The device list and the default device's ports.
    GetDevices();
    // A stored position that is not a 16-bit number leaves the combo as it is.
    double device = 0;
    if (text::ToNumber(settings_.read(settings::startup::DefaultDevice), device) && device >= -32768 &&
        device <= 32767)
        SSActiveToolBars1->SetListIndex(ids::ID_Device, int(device));
    GetDeviceData(false);
    // 6. The tab strip starts empty of documents.
    if (TaskBar_->count() > 0)
        TaskBar_->removeTab(0);
    // 7.
    ++OpenDocCount;
    EnableTools();
    // 8-9.
    const QString path = commandLine.isEmpty() ? settings_.read(settings::startup::LastFile) : commandLine;
    AppError err;
    if (!createEditor(path, &err)) {
        // The frame still comes up, without a window, and says why.
        --OpenDocCount;
        EnableTools();
        UpdateOpenDocsCaption();
        if (!err.isCancel())
            ShowError(err);
        startAutosave();
        return;
    }
    // 10-11.
    if (frmEditor* active = activeEditor())
        AddToWindowList(active->caption());
    UpdateOpenDocsCaption();
    // 12.
    scanDocument(activeEditor());
    startAutosave();
}

void MDIMain::applyPlacement() {
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    QRect g = geometry();
    bool stored = false;
    auto apply = [&](const settings::Key& key, auto setter) {
        double twips = 0;
        // Single-precision twips; a value out of any screen's reach does not convert.
        if (text::ToNumber(settings_.read(key), twips) && std::abs(twips) <= 3.0e7) {
            setter(docrules::twipsToPixels(float(twips), dpi));
            stored = true;
        }
    };
    apply(settings::startup::Height, [&](int px) { g.setHeight(std::max(px, 1)); });
    apply(settings::startup::Left, [&](int px) { g.moveLeft(px); });
    apply(settings::startup::Top, [&](int px) { g.moveTop(px); });
    apply(settings::startup::Width, [&](int px) { g.setWidth(std::max(px, 1)); });
    // The stored position is that of the outer frame, the size that of the inside. Fitted, with room
    // for the decoration, into the available area of the screen it lands on (one stored on a larger
    // screen or a screen now gone would open partly out of reach).
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens << s->availableGeometry();
    const QMargins decoration(4, 30, 4, 4);
    const QPoint corner(decoration.left(), decoration.top());
    const QRect inside(g.topLeft() + corner, g.size());
    const QRect fitted = placement::placeWindow(screens, inside, inside.size(), inside, decoration);
    move(fitted.topLeft() - corner);
    resize(fitted.size());
    // Until the user moves or sizes it, the frame keeps its stored placement for a larger screen.
    fittedPlacement_ = stored && fitted != inside ? QRect(pos(), size()) : QRect();
}

void MDIMain::fitMenusToScreen() {
    // Long paths in the recent files and the window list are shortened in the middle, so a menu
    // takes at most about a third of the screen.
    if (const QScreen* s = screen())
        SSActiveToolBars1->SetMenuTextWidth(std::max(s->availableGeometry().width() / 3, 240));
}

void MDIMain::restoreRecentFiles() {
    for (int n = 0; n < 4; ++n) {
        const QString value = settings_.read(*settings::startup::RecentFiles[n]);
        if (!value.isEmpty()) {
            SSActiveToolBars1->SetCaption(*ids::RecentFiles[n], value);
            SSActiveToolBars1->SetVisible(*ids::RecentFiles[n], true);
        }
    }
}

frmEditor* MDIMain::createEditor(const QString& path, AppError* err) {
    if (!confirmTextFile(path)) {
        if (err)
            *err = AppError::cancelled();
        return nullptr;
    }
    auto* w = new frmEditor(*this, state_);
    loadOrder_ << w;
    mdiArea_->addSubWindow(w);
    w->Form_Load();
    SourceDocument& doc = w->View().Document();
    AppError loadError;
    doc.setEightBitEncoding(eightBitEncoding());
    // A path that does not exist opens as a new document under that name. A file that exists but
    // cannot be read opens no window: an empty one under its name would be saved over the file.
    if (!doc.LoadFile(path, &loadError, settings_.fileEncoding(path)) &&
        loadError.number != AppError::FileNotFound) {
        loadOrder_.removeAll(QPointer<frmEditor>(w));
        mdiArea_->removeSubWindow(w);
        delete w;
        if (err)
            *err = loadError;
        return nullptr;
    }
    doc.SetPathName(path);
    w->View().SetZoom(text::ValInt(settings_.read(settings::view::EditorZoom)));
    connect(&w->View(), &SourceView::ZoomChanged, this, &MDIMain::setEditorZoom);
    connect(w, &frmEditor::closed, this, &MDIMain::onEditorClosed);
    connect(w, &frmEditor::compileFinished, this, [this, w](bool clean) { compileCollected(w, clean); });
    w->setCaption(doc.PathName());
    markIncludedErrors(*w);
    // Saved (or reverted to its saved text), a document needs its copy no more.
    connect(&doc, &SourceDocument::modificationChanged, w, [this, w](bool modified) {
        if (!modified)
            dropAutosave(*w);
        showModifiedMark(*w);
    });
    w->showMaximized();
    mdiArea_->setActiveSubWindow(w);
    watchDocuments();
    emit editorOpened(w);
    return w;
}

void MDIMain::showStatusMessage(const QString& text) {
    // Shown over panels 1 and 2 for a while; they come back unchanged.
    statusBar()->showMessage(text, 8000);
}

void MDIMain::UpdateOpenDocsCaption() {
    SSActiveToolBars1->SetCaption(ids::Standard, ids::ID_OpenDocs,
                                  QStringLiteral("Files: ") + QString::number(OpenDocCount));
}

void MDIMain::AddToWindowList(const QString& caption) {
    ActiveToolBars& bars = *SSActiveToolBars1;
    const int count = bars.Count(ids::ID_Window);
    const QString id =
        docrules::windowEntryId(docrules::windowEntryNumber(bars.ToolIds(ids::ID_Window)), caption);
    bars.Insert(ids::ID_Window, count + 1, id, id);
    if (frmEditor* active = activeEditor())
        active->Tag = id;
    TaskBar_->addTab(caption);
    if (const int tab = tabOf(caption); tab >= 0)
        selectTabQuietly(tab);
    if (bars.Count(ids::ID_Window) == 5)
        bars.Insert(ids::ID_Window, 5, ids::Separator);
    if (frmEditor* active = activeEditor())
        showModifiedMark(*active);
    showReadOnly();
}

void MDIMain::showModifiedMark(frmEditor& window) {
    // The caption stays the path; the tab and the Window-menu entry carry the mark.
    static const QIcon mark = toolicons::modifiedMark();
    const QIcon icon = window.View().Document().Modified() ? mark : QIcon();
    if (const int tab = tabOf(window.caption()); tab >= 0)
        TaskBar_->setTabIcon(tab, icon);
    if (QAction* entry = SSActiveToolBars1->action(window.Tag))
        entry->setIcon(icon);
}

void MDIMain::RemoveFromWindowList(frmEditor& window) {
    if (activeEditor() == &window) {
        // The neighbour to the right, else to the left, takes over once the window has gone.
        const QString caption = text::Trim(window.caption());
        closingNeighbour_ = nullptr;
        for (int i = 0; i < TaskBar_->count(); ++i) {
            if (TaskBar_->tabText(i) != caption)
                continue;
            const int next = i + 1 < TaskBar_->count() ? i + 1 : i - 1;
            if (next >= 0)
                for (frmEditor* w : editors())
                    if (w != &window && text::Trim(w->caption()) == TaskBar_->tabText(next))
                        closingNeighbour_ = w;
            break;
        }
    }
    loadOrder_.removeAll(QPointer<frmEditor>(&window));
    watchDocuments();
    dropAutosave(window);
    SSActiveToolBars1->Remove(ids::ID_Window, window.Tag);
    const QString caption = text::Trim(window.caption());
    // One pass from the left: a tab that slides into a removed tab's place is not looked at again.
    for (int i = 0; i < TaskBar_->count(); ++i)
        if (TaskBar_->tabText(i) == caption)
            TaskBar_->removeTab(i);
}

void MDIMain::TaskBar_Click() {
    if (taskBarTag_ == QLatin1String("True"))
        return;
    const int index = TaskBar_->currentIndex();
    if (index < 0)
        return;
    const QString caption = text::Trim(TaskBar_->tabText(index));
    for (frmEditor* w : editors()) {
        if (w->caption() != caption)
            continue;
        if (w->isMinimized()) {
            // Restored, but the focus stays where it was.
            QMdiSubWindow* focused = mdiArea_->activeSubWindow();
            w->showNormal();
            if (focused && focused != w)
                mdiArea_->setActiveSubWindow(focused);
        } else
            mdiArea_->setActiveSubWindow(w);
        return;
    }
}

void MDIMain::onSubWindowActivated(QMdiSubWindow*) {
    // The MDI area deactivates its window when the application loses the focus and re-activates it
    // when it comes back; the window in front is its current one either way. Only a change of the
    // active window is an activation of that window.
    QMdiSubWindow* window = mdiArea_->currentSubWindow();
    if (window && window == lastActivated_)
        return;
    lastActivated_ = window;
    // Token Color acts on the token at the caret of the window in front.
    if (auto* w = qobject_cast<frmEditor*>(window))
        state_.MouseTokenClass = w->caretTokenClass();
    editActions_->setActive(window);
    showEncoding();
    showReadOnly();
    if (auto* t = qobject_cast<frmComm*>(window)) {
        t->Form_Activate();
    } else if (auto* w = qobject_cast<frmEditor*>(window)) {
        w->Form_Activate();
        if (const int tab = tabOf(w->caption()); tab >= 0)
            selectTabQuietly(tab);
    }
}

void MDIMain::onEditorClosed(frmEditor* window) {
    if (window == simDocument_)
        stopSimulation(QStringLiteral("The simulation stopped: its document was closed."));
    // The MDI area activates the first window in creation order; the user was looking at the tab
    // beside the one closed.
    if (closingNeighbour_ && closingNeighbour_ != window)
        mdiArea_->setActiveSubWindow(closingNeighbour_);
    closingNeighbour_ = nullptr;
    onSubWindowActivated(mdiArea_->currentSubWindow());
}

frmEditor* MDIMain::activeEditor() const {
    return qobject_cast<frmEditor*>(mdiArea_->activeSubWindow());
}

QList<frmEditor*> MDIMain::editors() const {
    QList<frmEditor*> out;
    for (const auto& w : loadOrder_)
        if (w)
            out << w.data();
    return out;
}

void MDIMain::EnableTools() {
    editActions_->refresh();
}

void MDIMain::ShowError(const AppError& e) {
    reports::file(state_.prompts, this, e);
}

void MDIMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The toolbar icons are drawn for the palette: a switch to or from a dark theme redraws them.
    if (event->type() == QEvent::PaletteChange && SSActiveToolBars1)
        applyToolIcons(*SSActiveToolBars1);
}

void MDIMain::resizeEvent(QResizeEvent* event) {
    reflowToolBars();
    QMainWindow::resizeEvent(event);
}

bool MDIMain::eventFilter(QObject* watched, QEvent* event) {
    // A toolbar that grows (a longer device name, more files) may no longer fit its row.
    if (event->type() == QEvent::LayoutRequest && qobject_cast<QToolBar*>(watched))
        reflowToolBars();
    return QMainWindow::eventFilter(watched, event);
}

void MDIMain::reflowToolBars() {
    const QList<QToolBar*> bars = frameToolBars(*SSActiveToolBars1);
    QList<int> widths;
    int narrowest = 0;
    for (const QToolBar* bar : bars) {
        widths << bar->sizeHint().width();
        narrowest = std::max(narrowest, bar->minimumSizeHint().width());
    }
    // The frame may be narrower than a row of toolbars, which then wrap: its least width is that of
    // one toolbar, not the one the layout derives from the rows as they stand.
    if (minimumWidth() != narrowest)
        setMinimumWidth(narrowest);
    const int spacing = style()->pixelMetric(QStyle::PM_ToolBarHandleExtent) + 2;
    const QList<int> rows = toolbarflow::rows(widths, width() - 2 * spacing, spacing);
    if (rows == toolBarRows_)
        return;
    toolBarRows_ = rows;
    for (qsizetype i = 1; i < bars.size(); ++i) {
        removeToolBarBreak(bars[i]);
        if (rows[i] != rows[i - 1])
            insertToolBarBreak(bars[i]);
    }
}

void MDIMain::closeEvent(QCloseEvent* event) {
    // Editor windows close first, each asking about its changes; a refusal keeps the frame open.
    for (frmEditor* w : editors()) {
        if (!w->close()) {
            event->ignore();
            return;
        }
    }
    // The terminal closes its port and stores its settings as it goes.
    if (terminal_)
        terminal_->close();
    MDIForm_Unload();
    event->accept();
}

void MDIMain::MDIForm_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    // A compiler still running hidden, or the simulator, would outlive the program.
    shell::endProcess(state_.CompileProcess);
    state_.CompileProcess = nullptr;
    stopSimulation();
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96.0;
    auto twips = [dpi](int px) { return QString::number(float(docrules::pixelsToTwips(px, dpi))); };
    help_->QuitHelp();
    if (fittedPlacement_ != QRect(pos(), size())) {
        settings_.save(settings::startup::Height, twips(height()));
        settings_.save(settings::startup::Left, twips(x()));
        settings_.save(settings::startup::Top, twips(y()));
        settings_.save(settings::startup::Width, twips(width()));
    }
    for (int n = 0; n < 4; ++n)
        if (SSActiveToolBars1->Visible(*ids::RecentFiles[n]))
            settings_.save(*settings::startup::RecentFiles[n],
                           SSActiveToolBars1->Caption(*ids::RecentFiles[n]));
    settings_.save(settings::startup::DefaultDevice,
                   QString::number(SSActiveToolBars1->ListIndex(ids::ID_Device)));
    autosaveTimer_->stop();
    autosave_->finish();
    if (!settings_.sync())
        state_.prompts.message(
            this,
            QStringLiteral("The settings could not be saved to %1.\nThe window placement, recent "
                           "files and choices of this session will not be remembered.")
                .arg(QDir::toNativeSeparators(settings_.location())),
            QString(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}

// --- files changed by other programs ---

void MDIMain::watchDocuments() {
    QStringList wanted;
    for (frmEditor* w : editors()) {
        const QString path = w->View().Document().PathName();
        if (QFileInfo::exists(path))
            wanted << path;
    }
    const QStringList watched = diskWatcher_->files();
    for (const QString& path : watched)
        if (!wanted.contains(path))
            diskWatcher_->removePath(path);
    for (const QString& path : std::as_const(wanted))
        if (!watched.contains(path))
            diskWatcher_->addPath(path);
}

void MDIMain::checkDocumentsOnDisk() {
    if (checkingDisk_)
        return;
    // A file's permissions may have changed as well.
    showReadOnly();
    checkingDisk_ = true;
    for (frmEditor* w : editors()) {
        SourceDocument& doc = w->View().Document();
        const SourceDocument::DiskState disk = doc.diskState();
        if (disk == SourceDocument::DiskState::Unchanged)
            continue;
        // Asked once per change: the file as it now stands is the known one from here on.
        doc.acceptDiskState();
        const QString name = QDir::toNativeSeparators(doc.PathName());
        if (disk == SourceDocument::DiskState::Changed) {
            QString text =
                name + QStringLiteral("\n\nThis file has been changed by another program. Reload it?");
            if (doc.Modified())
                text += QStringLiteral("\nThe changes made here would be lost.");
            if (state_.prompts.message(this, text, QString(), Prompts::Buttons::YesNo,
                                       Prompts::Icon::Question) == Prompts::Answer::Yes)
                reloadFromDisk(*w);
        } else {
            // The text now lives only here: closing the window must ask to save it.
            doc.SetModified(true);
            state_.prompts.message(this,
                                   name + QStringLiteral("\n\nThis file has been deleted or moved by another "
                                                         "program. Its text stays here: save it to keep it."),
                                   QString(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        }
    }
    checkingDisk_ = false;
    watchDocuments();
}

void MDIMain::reloadFromDisk(frmEditor& w) {
    SourceView& view = w.View();
    const int line = view.CaretY();
    AppError err;
    if (!view.Document().LoadFile(view.Document().PathName(), &err,
                                  settings_.fileEncoding(view.Document().PathName()))) {
        ShowError(err);
        return;
    }
    scanDocument(&w);
    view.MoveCaret(0, std::min(line, view.Document().NumLines() - 1));
}

void MDIMain::showWindow(QMdiSubWindow* window) {
    mdiArea_->setActiveSubWindow(window);
    activateWindow();
}

void MDIMain::documentClosing(frmEditor& window) {
    --OpenDocCount;
    UpdateOpenDocsCaption();
    RemoveFromWindowList(window);
}

SourceView* MDIMain::activeView() const {
    frmEditor* w = activeEditor();
    return w ? &w->View() : nullptr;
}

SourceView* MDIMain::showDocument(QMdiSubWindow* window, const QString& path) {
    auto* w = qobject_cast<frmEditor*>(window);
    if (!w)
        w = openOrActivate(path);
    if (!w)
        return nullptr;
    showWindow(w);
    return &w->View();
}
