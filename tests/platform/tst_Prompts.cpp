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

Q_DECLARE_METATYPE(Prompts::Buttons)
Q_DECLARE_METATYPE(Prompts::Answer)

// The real message boxes, answered the way a user answers them: a click on each button of each button
// set, Return (the default button) and Escape.
class tst_Prompts : public QObject {
    Q_OBJECT
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
        QtPrompts().message(&other, QStringLiteral("File Already Open!"), QString(), Buttons::Ok, Prompts::Icon::None);
        QVERIFY(QTest::qWaitFor([&asker] { return QApplication::activeWindow() == &asker; }));
        QCOMPARE(QApplication::focusWidget(), field);
    }

    void messageAnswers_data() {
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<QString>("press"); // the button clicked, or "Return" / "Escape"
        QTest::addColumn<Answer>("expected");
        const struct {
            const char* name;
            Buttons buttons;
            QList<std::pair<QString, Answer>> presses;
        } sets[] = {
            {"Ok", Buttons::Ok, {{"Ok", Answer::Ok}, {"Return", Answer::Ok}, {"Escape", Answer::Ok}}},
            {"OkCancel",
             Buttons::OkCancel,
             {{"Ok", Answer::Ok},
              {"Cancel", Answer::Cancel},
              {"Return", Answer::Ok},
              {"Escape", Answer::Cancel}}},
            {"YesNoCancel",
             Buttons::YesNoCancel,
             {{"Yes", Answer::Yes},
              {"No", Answer::No},
              {"Cancel", Answer::Cancel},
              {"Return", Answer::Yes},
              {"Escape", Answer::Cancel}}},
            {"YesNo",
             Buttons::YesNo,
             {{"Yes", Answer::Yes}, {"No", Answer::No}, {"Return", Answer::Yes}, {"Escape", Answer::No}}},
        };
        for (const auto& set : sets)
            for (const auto& [press, answer] : set.presses)
                QTest::addRow("%s %s", set.name, qPrintable(press)) << set.buttons << press << answer;
    }

    void messageAnswers() {
        QFETCH(Buttons, buttons);
        QFETCH(QString, press);
        QFETCH(Answer, expected);
        const QHash<QString, QMessageBox::StandardButton> standard{{"Ok", QMessageBox::Ok},
                                                                   {"Cancel", QMessageBox::Cancel},
                                                                   {"Yes", QMessageBox::Yes},
                                                                   {"No", QMessageBox::No}};
        QString title, text;
        bool pressed = false;
        testsupport::onNextModal(
            [&](QWidget& dialog) {
                auto* box = qobject_cast<QMessageBox*>(&dialog);
                if (!box)
                    return;
                text = box->text();
                if (press == u"Return" || press == u"Escape") {
                    QTest::keyClick(box, press == u"Return" ? Qt::Key_Return : Qt::Key_Escape);
                    pressed = true;
                } else if (QAbstractButton* button = box->button(standard.value(press))) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    pressed = true;
                }
                if (box->isVisible()) // a press that did not end the box: end it so the test goes on
                    box->done(QMessageBox::Abort);
            },
            &title);
        QtPrompts prompts;
        const Answer answer =
            prompts.message(nullptr, QStringLiteral("Proceed?"), QString(), buttons, Prompts::Icon::Question);
        QVERIFY2(pressed, "the button was not on the box");
        QCOMPARE(title, Prompts::appTitle());
        QCOMPARE(text, QStringLiteral("Proceed?"));
        QCOMPARE(answer, expected);
    }

    // confirm() and chooseItem(), answered as a user would.
    void confirm_data() {
        QTest::addColumn<QString>("action"); // a button's caption, or a key
        QTest::addColumn<bool>("accepted");
        QTest::newRow("accept button") << "Save as UTF-8" << true;
        QTest::newRow("Cancel button") << "Cancel" << false;
        QTest::newRow("Return: Cancel is the default") << "Return" << false;
        QTest::newRow("Escape") << "Escape" << false;
    }
    void confirm() {
        QFETCH(QString, action);
        QFETCH(bool, accepted);
        QtPrompts prompts;
        QString shownText;
        testsupport::onNextModal([&](QWidget& dialog) {
            auto* box = qobject_cast<QMessageBox*>(&dialog);
            QVERIFY(box);
            shownText = box->text();
            if (action == QLatin1String("Return") || action == QLatin1String("Escape")) {
                QTest::keyClick(box, action == QLatin1String("Return") ? Qt::Key_Return : Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons())
                if (b->text().remove(u'&') == action)
                    b->click();
        });
        QCOMPARE(prompts.confirm(nullptr, QStringLiteral("The text holds characters..."),
                                 QStringLiteral("Save as UTF-8")),
                 accepted);
        QCOMPARE(shownText, QStringLiteral("The text holds characters..."));
    }

    void chooseItem_data() {
        QTest::addColumn<int>("pick"); // the entry picked before OK; -1: cancelled
        QTest::addColumn<QString>("chosen");
        QTest::newRow("preset kept") << 1 << "Windows-1254";
        QTest::newRow("another") << 2 << "UTF-8";
        QTest::newRow("cancelled") << -1 << "Windows-1254";
    }
    void chooseItem() {
        QFETCH(int, pick);
        QFETCH(QString, chosen);
        QtPrompts prompts;
        const QStringList items{"Windows-1252", "Windows-1254", "UTF-8"};
        int preset = -1;
        testsupport::onNextModal([&](QWidget& dialog) {
            auto* combo = dialog.findChild<QComboBox*>();
            auto* buttons = dialog.findChild<QDialogButtonBox*>();
            QVERIFY(combo && buttons);
            preset = combo->currentIndex();
            if (pick < 0) {
                buttons->button(QDialogButtonBox::Cancel)->click();
                return;
            }
            combo->setCurrentIndex(pick);
            buttons->button(QDialogButtonBox::Ok)->click();
        });
        QString value = QStringLiteral("Windows-1254");
        QCOMPARE(prompts.chooseItem(nullptr, QStringLiteral("Encoding"), QStringLiteral("As:"), items, value),
                 pick >= 0);
        QCOMPARE(preset, 1);
        QCOMPARE(value, chosen);
    }
};

QTEST_MAIN(tst_Prompts)
#include "tst_Prompts.moc"
