#include "toolchain/frmSimulator.h"

#include "toolchain/OptionsLayout.h"
#include "toolchain/SimScript.h"
#include "platform/Prompts.h"
#include "platform/TextHelpers.h"
#include "platform/comm/PortSettings.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kDebugWindowBaud = QStringLiteral("as the Debug window");

} // namespace

frmSimulator::frmSimulator(FrameServices& frame)
    : QDialog(frame.frameWindow()), frame_(frame), TxPin_(new QLineEdit), RxPin_(new QLineEdit),
      Baud_(new QComboBox), Inverted_(new QCheckBox(QStringLiteral("&Inverted line (idle low, the N modes)"))),
      RealTime_(new QCheckBox(QStringLiteral("&Real time (otherwise as fast as the machine can)"))),
      cmdOK(new QPushButton(QStringLiteral("&OK"))), cmdExit(new QPushButton(QStringLiteral("&Cancel"))),
      Help(new QPushButton(QStringLiteral("&Help"))) {
    setWindowTitle(QStringLiteral("Simulator Options"));
    setObjectName(QStringLiteral("frmSimulator"));
    TxPin_->setPlaceholderText(QStringLiteral("portc6, the serial port's TX"));
    RxPin_->setPlaceholderText(QStringLiteral("portc7, the serial port's RX"));
    TxPin_->setToolTip(QStringLiteral("The pin the program sends on (SEROUT, DEBUG, HSEROUT): RB0, PORTB.0 or portb0"));
    RxPin_->setToolTip(QStringLiteral("The pin the program receives on (SERIN, DEBUGIN, HSERIN)"));
    Baud_->setEditable(true);
    Baud_->addItem(kDebugWindowBaud);
    Baud_->addItems(PortSettings::baudRates());

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&TX pin (PIC sends):"), TxPin_);
    form->addRow(QStringLiteral("R&X pin (PIC receives):"), RxPin_);
    form->addRow(QStringLiteral("&Baud rate:"), Baud_);
    form->addRow(QString(), Inverted_);
    form->addRow(QString(), RealTime_);
    optionslayout::arrange(*this, form, cmdOK, cmdExit, Help, 460);
    Help->hide();

    Form_Load();
    connect(cmdOK, &QPushButton::clicked, this, &frmSimulator::cmdOK_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
}

void frmSimulator::Form_Load() {
    const Settings& s = frame_.state().settings;
    TxPin_->setText(s.read(settings::simulator::TxPin));
    RxPin_->setText(s.read(settings::simulator::RxPin));
    const QString baud = text::Trim(s.read(settings::simulator::Baud));
    Baud_->setCurrentText(baud.isEmpty() ? kDebugWindowBaud : baud);
    Inverted_->setChecked(text::Trim(s.read(settings::simulator::Inverted)) == QLatin1String("1"));
    RealTime_->setChecked(text::Trim(s.read(settings::simulator::RealTime)) != QLatin1String("0"));
}

void frmSimulator::cmdOK_Click() {
    Prompts& prompts = frame_.state().prompts;
    for (QLineEdit* pin : {TxPin_, RxPin_}) {
        const QString t = text::Trim(pin->text());
        if (!t.isEmpty() && simscript::pinName(t).isEmpty()) {
            prompts.message(this, QStringLiteral("\"%1\" is not a port pin: write it as RB0, PORTB.0 or portb0.").arg(t));
            pin->setFocus();
            return;
        }
    }
    QString baud = text::Trim(Baud_->currentText());
    if (baud == kDebugWindowBaud)
        baud.clear();
    if (!baud.isEmpty() && text::ValInt(baud) <= 0) {
        prompts.message(this, QStringLiteral("\"%1\" is not a baud rate.").arg(baud));
        Baud_->setFocus();
        return;
    }
    Settings& s = frame_.state().settings;
    s.save(settings::simulator::TxPin, text::Trim(TxPin_->text()));
    s.save(settings::simulator::RxPin, text::Trim(RxPin_->text()));
    s.save(settings::simulator::Baud, baud.isEmpty() ? QString() : QString::number(text::ValInt(baud)));
    s.save(settings::simulator::Inverted, Inverted_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    s.save(settings::simulator::RealTime, RealTime_->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    accept();
}
