#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/Prompts.h"
#include "support/TestSupport.h"

using Buttons = Prompts::Buttons;
using Answer = Prompts::Answer;

// The real message boxes, answered the way a user answers them: a click on a button, Return (the default
// button) or Escape.
class tst_Prompts : public QObject {
    Q_OBJECT

    // Presses `press` (a button's caption, "Return" or "Escape") on the next message box; its title and
    // text go to `shown` as "title|text".
    static void pressOnNextBox(const QString& press, QString* shown) {
        testsupport::onNextModal([press, shown](QWidget& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            QVERIFY(box);
            *shown = box->windowTitle() + u'|' + box->text();
            if (press == u"Return" || press == u"Escape")
                QTest::keyClick(box, press == u"Return" ? Qt::Key_Return : Qt::Key_Escape);
            else
                for (QAbstractButton* b : box->buttons())
                    if (b->text().remove(u'&') == press)
                        QTest::mouseClick(b, Qt::LeftButton);
            if (box->isVisible()) { // a press that did not end the box: end it so the test goes on
                *shown += QStringLiteral("|not pressed");
                box->done(QMessageBox::Abort);
            }
        });
    }

private slots:
    // After a box, over whichever window, the focus is back in the field that had it.
    void focusComesBack() {
        QWidget asker;
        auto* field = new QLineEdit(&asker);
        asker.show();
        field->activateWindow();
        field->setFocus();
        QVERIFY(QTest::qWaitFor([field] { return QApplication::focusWidget() == field; }));
        QWidget other;
        other.show();
        testsupport::onNextModal([](QWidget& box) { QTest::keyClick(&box, Qt::Key_Return); });
        QtPrompts().message(&other, QStringLiteral("File Already Open!"), QString(), Buttons::Ok,
                            Prompts::Icon::None);
        QVERIFY(QTest::qWaitFor([&asker] { return QApplication::activeWindow() == &asker; }));
        QCOMPARE(QApplication::focusWidget(), field);
    }

    // Each button set shows its buttons, and each answer comes back.
    void messageAnswers() {
        const std::tuple<Buttons, const char*, Answer> rows[] = {
            {Buttons::Ok, "Escape", Answer::Ok},           {Buttons::OkCancel, "OK", Answer::Ok},
            {Buttons::OkCancel, "Escape", Answer::Cancel}, {Buttons::YesNoCancel, "No", Answer::No},
            {Buttons::YesNoCancel, "Return", Answer::Yes}, {Buttons::YesNoCancel, "Cancel", Answer::Cancel},
            {Buttons::YesNo, "Escape", Answer::No},        {Buttons::YesNo, "Yes", Answer::Yes}};
        for (const auto& [buttons, press, expected] : rows) {
            QString shown;
            pressOnNextBox(QString::fromLatin1(press), &shown);
            const Answer answer = QtPrompts().message(nullptr, QStringLiteral("Proceed?"), QString(), buttons,
                                                      Prompts::Icon::Question);
            QCOMPARE(shown, Prompts::appTitle() + QStringLiteral("|Proceed?"));
            QVERIFY2(answer == expected, press);
        }
    }

    // confirm(): only its own button accepts; Return takes Cancel, the default.
    void confirm() {
        for (const auto& [press, accepted] : {std::pair{"Save as UTF-8", true}, {"Return", false}}) {
            QString shown;
            pressOnNextBox(QString::fromLatin1(press), &shown);
            QCOMPARE(QtPrompts().confirm(nullptr, QStringLiteral("The text holds..."),
                                         QStringLiteral("Save as UTF-8")),
                     accepted);
            QCOMPARE(shown, Prompts::appTitle() + QStringLiteral("|The text holds..."));
        }
    }

    // chooseItem() opens on the current choice; Cancel leaves it.
    void chooseItem() {
        for (const auto& [pick, chosen] : {std::pair{2, "UTF-8"}, {-1, "Windows-1254"}}) {
            int preset = -1;
            testsupport::onNextModal([&preset, pick](QWidget& dialog) {
                auto* combo = dialog.findChild<QComboBox*>();
                auto* buttons = dialog.findChild<QDialogButtonBox*>();
                QVERIFY(combo && buttons);
                preset = combo->currentIndex();
                if (pick >= 0)
                    combo->setCurrentIndex(pick);
                buttons->button(pick >= 0 ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
            });
            QString value = QStringLiteral("Windows-1254");
            QCOMPARE(QtPrompts().chooseItem(nullptr, QStringLiteral("Encoding"), QStringLiteral("As:"),
                                            {"Windows-1252", "Windows-1254", "UTF-8"}, value),
                     pick >= 0);
            QCOMPARE(preset, 1);
            QCOMPARE(value, QString::fromLatin1(chosen));
        }
    }
};

QTEST_MAIN(tst_Prompts)
#include "tst_Prompts.moc"
