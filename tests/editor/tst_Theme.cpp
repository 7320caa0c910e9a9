#include <QAction>
#include <cmath>

#include "editor/ColorTable.h"
#include "platform/Colors.h"
#include "support/FrameTest.h"

namespace {

// The contrast ratio of two colours by their relative luminance, as the accessibility guidelines count it.
double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double s) {
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The desktop's palette changes; the windows hear of it through the event loop.
void desktopPalette(const QColor& base, const QColor& text) {
    QPalette pal = QApplication::palette();
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
        pal.setColor(role, base);
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        pal.setColor(role, text);
    QApplication::setPalette(pal);
    QCoreApplication::processEvents();
}

const colortable::Row& row(int tokenClass) {
    for (const colortable::Row& r : colortable::Rows)
        if (r.tokenClass == tokenClass)
            return r;
    qFatal("no colour row for class %d", tokenClass);
}

} // namespace

// The stock token colours follow a light or dark background; a user's own colour always wins, and
// the store keeps the colours as it always had them.
class tst_Theme : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QApplication::setPalette(QPalette()); }

    void stockColoursReadOnADarkBackground() {
        for (const QColor& base :
             {QColor(0x1e, 0x1e, 0x1e), QColor(0x2d, 0x2d, 0x30), QColor(0x35, 0x35, 0x35)})
            for (const colortable::Row& r : colortable::Rows)
                QVERIFY2(contrast(colors::toQColor(r.darkDefault), base) >= 4.5, r.key.name);
    }

    // What the frames below do not meet: another key's stock colour is an own colour, and the note
    // vouches for whole key names only.
    void shownAndStoredColour() {
        const colortable::Row& comment = row(6);
        const qint32 keyword = colortable::lightDefault(row(10));
        const bool own = colortable::isOwn(comment, keyword, false);
        QVERIFY(own && colortable::shown(comment, keyword, own, true) == keyword);
        QCOMPARE(colortable::toStore(comment, keyword, own), keyword);
        QVERIFY(colortable::vouchedFor(QStringLiteral(" svComment  svStatements"), row(10)));
        QVERIFY(!colortable::vouchedFor(QStringLiteral("svStatementsX svComments"), row(10)));
    }

    // A colour the user picks comes back at the next start as picked, one equal to a stock colour of
    // either set too, and stays when the desktop switches between light and dark.
    void chosenColoursComeBackAsChosen() {
        FrameFixture f;
        MDIMain& m = f.start();
        const qint32 lightComment = colortable::lightDefault(row(6));
        for (const auto& [tokenClass, colour] : {std::pair{10, colortable::DarkKeyword}, {6, lightComment}}) {
            m.state().MouseTokenClass = tokenClass;
            f.prompts.chooseColorValue(colors::toQColor(colour));
            m.SSActiveToolBars1_ToolClick(QStringLiteral("ID_TokenColor"));
        }
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svStatements), QString::number(colortable::DarkKeyword));
        QCOMPARE(f.store().read(settings::colors::svComment), QString::number(lightComment));
        QCOMPARE(f.store().read(settings::colors::OwnColors), QStringLiteral("svComment"));
        QCOMPARE(f.store().read(settings::colors::svDefines), QStringLiteral("12583104"));
        desktopPalette(QColor(30, 30, 30), QColor(220, 220, 220));
        f.restart();
        for (const QColor& base : {QColor(30, 30, 30), QColor(Qt::white)}) {
            desktopPalette(base, base == Qt::white ? QColor(Qt::black) : QColor(220, 220, 220));
            const TokenStyles& shown = f.view().TokenInfo();
            const bool dark = base != Qt::white;
            QCOMPARE(shown.ForegroundColor(10), colortable::DarkKeyword);
            QCOMPARE(shown.ForegroundColor(6), lightComment);
            QCOMPARE(shown.ForegroundColor(11),
                     dark ? row(11).darkDefault : colortable::lightDefault(row(11)));
        }
        // Another colour for the comments: the note has nothing left to vouch for.
        f.frame()->state().MouseTokenClass = 6;
        f.prompts.chooseColorValue(QColor(1, 2, 3));
        f.frame()->SSActiveToolBars1_ToolClick(QStringLiteral("ID_TokenColor"));
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::OwnColors), QString());
        QCOMPARE(f.store().read(settings::colors::svComment), QString::number(colors::rgb(1, 2, 3)));
    }

    void stockColoursFollowTheBackground() {
        FrameFixture f;
        const qint32 mine = colors::rgb(200, 100, 0);
        f.store().save(settings::colors::svComment, QString::number(mine));
        f.store().save(settings::colors::svString, QStringLiteral("255"));
        f.store().save(settings::colors::svModifer, QStringLiteral("65280"));
        f.store().save(settings::colors::svNumber, QStringLiteral("green")); // no number: the control's own
        f.start();
        SourceView& v = f.view();
        // Stored colours reach the screen and the printer; keywords and modifiers are bold.
        for (const auto& [tokenClass, colour] : {std::pair{7, 255}, {15, 65280}, {6, mine}, {10, 11796480}}) {
            QCOMPARE(v.TokenInfo().ForegroundColor(tokenClass), colour);
            QCOMPARE(v.PrintTokenInfo().ForegroundColor(tokenClass), colour);
        }
        SourceView fresh;
        QVERIFY(v.TokenInfo().HasForegroundColor(3) == fresh.TokenInfo().HasForegroundColor(3) &&
                v.TokenInfo().ForegroundColor(3) == fresh.TokenInfo().ForegroundColor(3));
        QVERIFY(v.TokenInfo().TokenStyle(10) == 1 && v.TokenInfo().TokenStyle(15) == 1);
        QCOMPARE(v.BackColor(), colors::SystemWindow);

        desktopPalette(QColor(30, 30, 30), QColor(220, 220, 220));
        QCOMPARE(v.TokenInfo().ForegroundColor(10), colortable::DarkKeyword);
        QCOMPARE(v.TokenInfo().ForegroundColor(2), colortable::DarkText);
        QCOMPARE(v.TokenInfo().ForegroundColor(6), mine);
        QCOMPARE(v.PrintTokenInfo().ForegroundColor(10), qint32(11796480));
        // On a dark toolbar no outline is drawn in dark ink.
        QAction* find = f.frame()->toolBars().action(QStringLiteral("ID_Find"));
        const QImage icon = find->icon().pixmap(20, 20).toImage();
        int darkest = 255;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (qAlpha(icon.pixel(x, y)) == 255)
                    darkest = qMin(darkest, QColor(icon.pixel(x, y)).lightness());
        QVERIFY(darkest > 100);
        const QImage shot = v.grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 5, shot.height() / 2), QColor(30, 30, 30));

        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svStatements), QStringLiteral("11796480"));
        QCOMPARE(f.store().read(settings::colors::svComment), QString::number(mine));
        QCOMPARE(f.store().read(settings::colors::svBackGround), QStringLiteral("-2147483643"));

        // Started again under the dark theme, then the desktop goes light.
        f.restart();
        SourceView& again = f.view();
        QCOMPARE(again.TokenInfo().ForegroundColor(10), colortable::DarkKeyword);
        desktopPalette(Qt::white, Qt::black);
        QCOMPARE(again.TokenInfo().ForegroundColor(10), qint32(11796480));
        QCOMPARE(again.TokenInfo().ForegroundColor(6), mine);

        // A dark background the user chooses takes the dark set too, and keeps it at the next start.
        f.prompts.chooseColorValue(QColor(20, 20, 40));
        f.frame()->SSActiveToolBars1_ToolClick(QStringLiteral("ID_BackgroundColor"));
        QCOMPARE(again.TokenInfo().ForegroundColor(11), row(11).darkDefault);
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svDefines), QStringLiteral("12583104"));
        f.restart();
        QCOMPARE(f.view().TokenInfo().ForegroundColor(11), row(11).darkDefault);
        QCOMPARE(f.view().BackColor(), colors::rgb(20, 20, 40));
    }
};

QTEST_MAIN(tst_Theme)
#include "tst_Theme.moc"
