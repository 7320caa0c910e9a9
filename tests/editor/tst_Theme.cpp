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

// The colour command for a token class, or for the background (class -1), answered with a colour or,
// when it is invalid, with Default.
void pick(FrameFixture& f, int tokenClass, const QColor& colour) {
    if (colour.isValid())
        f.prompts.chooseColorValue(colour);
    else
        f.prompts.chooseDefaultColor();
    if (tokenClass < 0)
        return f.frame()->SSActiveToolBars1_ToolClick(QStringLiteral("ID_BackgroundColor"));
    f.frame()->state().MouseTokenClass = tokenClass;
    f.frame()->SSActiveToolBars1_ToolClick(QStringLiteral("ID_TokenColor"));
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

    // The colour a class shows: the set drawn for the kind of background; on a chosen background one
    // that reads, the other set's or one made to read; the user's own always.
    void colourOnBackground_data() {
        QTest::addColumn<QColor>("background");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<int>("tokenClass");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("expect");
        const QColor white(Qt::white), night(30, 30, 60);
        QTest::newRow("desktop white keeps the declared set") << white << false << 3 << false << "light";
        QTest::newRow("chosen white, keyword reads") << white << true << 10 << false << "light";
        QTest::newRow("chosen white, number made to read") << white << true << 3 << false << "readable";
        QTest::newRow("dark, names") << night << true << 1 << false << "dark";
        QTest::newRow("dark blue, names") << QColor(0, 0, 160) << true << 1 << false << "dark";
        QTest::newRow("green: dark by lightness, light reads")
            << QColor(0, 200, 0) << true << 2 << false << "light";
        QTest::newRow("grey: neither set reads")
            << QColor(128, 128, 128) << true << 10 << false << "readable";
        QTest::newRow("own black on dark stays") << night << true << 1 << true << "own";
    }
    void colourOnBackground() {
        QFETCH(QColor, background);
        QFETCH(bool, chosen);
        QFETCH(int, tokenClass);
        QFETCH(bool, own);
        QFETCH(QString, expect);
        const colortable::Row& r = row(tokenClass);
        const qint32 c = colortable::shown(r, 0, own, background, chosen);
        if (expect == QLatin1String("light"))
            QCOMPARE(c, colortable::lightDefault(r));
        else if (expect == QLatin1String("dark"))
            QCOMPARE(c, r.darkDefault);
        else if (expect == QLatin1String("own"))
            QCOMPARE(c, 0);
        else
            QVERIFY(c != colortable::lightDefault(r) && c != r.darkDefault);
        if (chosen && !own)
            QVERIFY(contrast(colors::toQColor(c), background) >= 4.5);
    }

    // A dark background reaches every open window at once and the ones opened later; every class reads
    // on it, and Default brings the desktop's background and the stock colours back.
    void darkBackgroundInEveryWindow() {
        FrameFixture f;
        MDIMain& m = f.startWith(QStringLiteral("d.pbp"), "Main: x VAR BYTE\nGOTO Main\n");
        m.SSActiveToolBars1_ToolClick(QStringLiteral("ID_New"));
        const QColor night(30, 30, 60);
        pick(f, -1, night);
        m.SSActiveToolBars1_ToolClick(QStringLiteral("ID_New"));
        QCOMPARE(m.editors().size(), 3);
        for (frmEditor* w : m.editors()) {
            QCOMPARE(w->View().BackColor(), colors::fromQColor(night));
            for (const colortable::Row& r : colortable::Rows)
                QVERIFY2(contrast(w->View().TokenInfo().foreground(r.tokenClass, Qt::black), night) >= 4.5,
                         r.key.name);
        }
        // An own colour for the names, then Default for it and for the background.
        pick(f, 1, Qt::black);
        for (frmEditor* w : m.editors())
            QCOMPARE(w->View().TokenInfo().ForegroundColor(1), 0);
        QCOMPARE(f.store().read(settings::colors::OwnColors), QStringLiteral("svNames"));
        pick(f, 1, QColor());
        QCOMPARE(f.store().read(settings::colors::OwnColors), QString());
        pick(f, -1, QColor());
        for (frmEditor* w : m.editors()) {
            QCOMPARE(w->View().BackColor(), colors::SystemWindow);
            for (const colortable::Row& r : colortable::Rows)
                QCOMPARE(w->View().TokenInfo().ForegroundColor(r.tokenClass), colortable::lightDefault(r));
        }
    }

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
        QVERIFY(own && colortable::shown(comment, keyword, own, QColor(30, 30, 30), true) == keyword);
        QCOMPARE(colortable::toStore(comment, keyword, own), keyword);
        QVERIFY(colortable::vouchedFor(QStringLiteral(" svComment  svStatements"), row(10)));
        QVERIFY(!colortable::vouchedFor(QStringLiteral("svStatementsX svComments"), row(10)));
    }

    // A colour the user picks comes back at the next start as picked, one equal to a stock colour of
    // either set too, and stays when the desktop switches between light and dark.
    void chosenColoursComeBackAsChosen() {
        FrameFixture f;
        f.start();
        const qint32 lightComment = colortable::lightDefault(row(6));
        pick(f, 10, colors::toQColor(colortable::DarkKeyword));
        pick(f, 6, colors::toQColor(lightComment));
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svStatements), QString::number(colortable::DarkKeyword));
        QCOMPARE(f.store().read(settings::colors::svComment), QString::number(lightComment));
        QCOMPARE(f.store().read(settings::colors::OwnColors), QStringLiteral("svComment"));
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
        pick(f, 6, QColor(1, 2, 3));
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

        // On a light desktop, a dark background the user chooses takes the dark set too, and keeps it
        // at the next start.
        f.restart();
        desktopPalette(Qt::white, Qt::black);
        pick(f, -1, QColor(20, 20, 40));
        QCOMPARE(f.view().TokenInfo().ForegroundColor(11), row(11).darkDefault);
        QVERIFY(f.close());
        QCOMPARE(f.store().read(settings::colors::svDefines), QStringLiteral("12583104"));
        f.restart();
        QCOMPARE(f.view().TokenInfo().ForegroundColor(11), row(11).darkDefault);
        QCOMPARE(f.view().BackColor(), colors::rgb(20, 20, 40));
    }
};

QTEST_MAIN(tst_Theme)
#include "tst_Theme.moc"
