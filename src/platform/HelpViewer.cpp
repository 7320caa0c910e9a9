#include "platform/HelpViewer.h"

#include "platform/TextHelpers.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace {

// The title names the page shown, so that a missing page is told from a page at a glance.
void nameAfterPage(QTextBrowser& browser) {
    const QString page = browser.documentTitle();
    const QString help = QStringLiteral("Pinwright Help");
    browser.setWindowTitle(page.isEmpty() || page == help ? help : page + QStringLiteral(" - ") + help);
}

// A modal dialog blocks every window that is not its own. Help asked for while one is open becomes a
// window of that dialog, above it and usable; when the dialog closes it goes back to being a window of
// its own, where it was.
void belongTo(QTextBrowser& browser, QWidget* owner) {
    if (browser.parentWidget() == owner)
        return;
    const QRect geometry = browser.geometry();
    const bool shown = browser.isVisible();
    browser.setParent(owner, Qt::Window);
    browser.setGeometry(geometry);
    if (shown)
        browser.show();
}

class ReleaseWhenHidden : public QObject {
public:
    ReleaseWhenHidden(QWidget& dialog, QTextBrowser& browser) : QObject(&browser), browser_(browser) {
        dialog.installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Hide && watched == browser_.parentWidget()) {
            watched->removeEventFilter(this);
            belongTo(browser_, nullptr);
            deleteLater();
        }
        return false;
    }

private:
    QTextBrowser& browser_;
};

} // namespace

HelpViewer::HelpViewer(QString helpFolder, Resolver resolver)
    : folder_(std::move(helpFolder)), resolver_(std::move(resolver)) {}

HelpViewer::~HelpViewer() {
    delete browser_.data();
}

QString HelpViewer::helpFilePath(const QString& appFolder) {
    const QString folder = text::Trim(appFolder);
    if (folder.endsWith(u'\\') || folder.endsWith(u'/'))
        return folder + QStringLiteral("Pinwright.HLP");
    return folder + QDir::separator() + QStringLiteral("Pinwright.HLP");
}

void HelpViewer::InitHelp(qint32 ownerWindow, const QString& appFolder) {
    owner_ = ownerWindow;
    helpFile_ = helpFilePath(appFolder);
}

void HelpViewer::ShowHelpContents() {
    lastOwner_ = owner_;
    show(QStringLiteral("contents.html"));
}

void HelpViewer::ShowHelpTopic(qint32 context) {
    lastOwner_ = owner_;
    show(resolver_ ? resolver_(context) : QStringLiteral("contents.html"));
}

void HelpViewer::QuitHelp() {
    lastOwner_ = owner_;
    if (browser_)
        browser_->close();
}

QWidget* HelpViewer::window() const {
    return browser_.data();
}

void HelpViewer::show(const QString& page) {
    lastPage_ = page;
    if (!browser_) {
        browser_ = new QTextBrowser;
        browser_->setAttribute(Qt::WA_DeleteOnClose, false);
        browser_->setOpenExternalLinks(true);
        browser_->resize(640, 560);
        browser_->setSearchPaths({folder_});
        QObject::connect(browser_, &QTextBrowser::sourceChanged, browser_,
                         [b = browser_.data()] { nameAfterPage(*b); });
    }
    const QString file = QDir(folder_).filePath(page);
    if (QFileInfo::exists(file))
        browser_->setSource(QUrl::fromLocalFile(file));
    else
        browser_->setHtml(
            QStringLiteral("<html><head><title>Page not installed</title></head><body><h2>Help</h2>"
                           "<p>The help page %1 is not installed.</p></body></html>")
                .arg(page.toHtmlEscaped()));
    nameAfterPage(*browser_);
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != browser_->parentWidget()) {
        belongTo(*browser_, modal);
        if (modal)
            new ReleaseWhenHidden(*modal, *browser_);
    }
    if (!browser_->isVisible())
        placement::placeNear(*browser_, QApplication::activeWindow());
    browser_->show();
    browser_->raise();
    browser_->activateWindow();
}
