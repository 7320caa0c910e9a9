#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <QStringList>

class ActiveToolBars;
class Comm;
class FrameServices;
struct AppState;
class SerialLink;

// The serial terminal window "Debug": the terminal control `Comm` and the toolbar `SSActiveToolBars2`
// with its band "Debug Settings" of five combos for the port and its line settings. The window
// chooses, applies and remembers those settings and opens and closes the port; the control does the
// talking. One at most exists; the frame shows it without blocking.
class frmComm : public QMdiSubWindow {
    Q_OBJECT
public:
    frmComm(FrameServices& frame, AppState& state);
    ~frmComm() override;

    ActiveToolBars& toolBars() { return *SSActiveToolBars2; }
    Comm& comm() { return *Comm_; }

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    // A combo of the toolbar closed its list.
    void SSActiveToolBars2_ComboCloseUp(const QString& id);
    // A combo of the toolbar is about to open its list: the port list is read again.
    void SSActiveToolBars2_ComboDropDown(const QString& id);
    // Closes the port, hands the chosen port and settings to the control and opens it; a failure is
    // reported and leaves the port closed.
    void ApplyPortSettings();
    // The simulated board the port list offers as "Simulator" (the frame's, for as long as it lives).
    // A terminal whose choice is the simulator connects to it as soon as it runs.
    void setSimulation(SerialLink* simulation);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolBar();
    void refreshPorts();
    void setLineToolsEnabled(bool enabled);
    void readOptions();
    void storeOptions();
    void onPortLost(const QString& message);

    FrameServices& frame_;
    AppState& state_;
    QWidget* body_;
    ActiveToolBars* SSActiveToolBars2;
    Comm* Comm_;
    QStringList systemDevices_;
    QPointer<SerialLink> simulation_;
    bool unloaded_ = false;
};
