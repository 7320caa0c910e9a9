#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/Prompts.h"
#include "support/TestSupport.h"

// The real dialogs behind confirm() and chooseItem(), answered as a user would.
class tst_QtPromptsChoices : public QObject {
    Q_OBJECT
private slots:
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

QTEST_MAIN(tst_QtPromptsChoices)
#include "tst_QtPromptsChoices.moc"
