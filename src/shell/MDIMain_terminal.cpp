// The serial terminal window, opened without blocking and never more than once.
#include "shell/MDIMain.h"

#include "terminal/frmComm.h"
#include "toolchain/Simulation.h"

#include <QMdiArea>

AppError MDIMain::cmdDebug() {
    if (!terminal_) {
        terminal_ = new frmComm(*this, state_);
        mdiArea_->addSubWindow(terminal_);
        terminal_->Form_Load();
        terminal_->setSimulation(simulation_);
    }
    terminal_->show();
    mdiArea_->setActiveSubWindow(terminal_);
    terminal_->setFocus();
    return {};
}

frmComm* MDIMain::terminalWindow() const {
    return terminal_.data();
}
