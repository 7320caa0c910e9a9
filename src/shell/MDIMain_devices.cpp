// The device list and the toolbar combos.
#include "shell/MDIMain.h"

#include "editor/frmEditor.h"
#include "language/DeviceDatabase.h"
#include "language/SourceScan.h"
#include "platform/Prompts.h"
#include "platform/Reports.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>

QString MDIMain::deviceFile() const {
    return settings_.paths().dataFile(DeviceDatabase::FileName);
}

void MDIMain::GetDevices() {
    ActiveToolBars& bars = *SSActiveToolBars1;
    bars.ListClear(ids::ID_Device);
    AppError error;
    const QStringList names = DeviceDatabase::listDevices(deviceFile(), state_.PBPMode, error);
    for (const QString& name : names)
        bars.ListAdd(ids::ID_Device, name);
    // An empty list would leave the device combo blank without a word.
    if (!error && names.isEmpty())
        error = AppError{62, QStringLiteral("%1 lists no devices for this compiler.")
                                 .arg(QDir::toNativeSeparators(deviceFile()))};
    else if (error && !error.description.contains(QDir::toNativeSeparators(deviceFile())))
        error = error.about(deviceFile());
    if (error)
        reports::named(state_.prompts, this, DeviceDatabase::ListingErrorPrefix, error);
}

void MDIMain::GetDeviceData(bool Reload) {
    AppError error;
    DeviceDatabase::findDevicePorts(deviceFile(), SSActiveToolBars1->Text(ids::ID_Device), state_.DevicePorts,
                                    error);
    if (error) {
        // One failure is one message: a window activated after it (which reads the ports again) says
        // nothing new until the file changes or the user picks a device.
        const QFileInfo file(deviceFile());
        const QString failure = error.description + u'|' + QString::number(file.size()) + u'|' +
                                file.lastModified().toString(Qt::ISODateWithMs);
        if (!Reload && failure == deviceFailure_)
            return;
        deviceFailure_ = failure;
        if (!error.description.contains(QDir::toNativeSeparators(deviceFile())))
            error = error.about(deviceFile());
        reports::named(state_.prompts, this, DeviceDatabase::DeviceDataErrorPrefix, error);
        return;
    }
    deviceFailure_.clear();
    if (Reload)
        if (frmEditor* w = activeEditor())
            w->LoadReservedWords();
}

void MDIMain::SSActiveToolBars1_ComboDropDown(const QString& id) {
    // The list shows the document's labels as they stand now.
    if (id == ids::ID_GotoLabel)
        if (frmEditor* w = activeEditor())
            w->UpdateLabels();
}

void MDIMain::SSActiveToolBars1_ComboCloseUp(const QString& id) {
    frmEditor* w = activeEditor();
    if (id == ids::ID_GotoLabel) {
        if (!w)
            return;
        const QString wanted = SSActiveToolBars1->Text(ids::ID_GotoLabel).toUpper();
        if (SSActiveToolBars1->ListIndex(ids::ID_GotoLabel) < 0)
            return;
        SourceView& view = w->View();
        SourceDocument& doc = view.Document();
        for (int line = 0; line < doc.NumLines(); ++line) {
            if (doc.GetLineData(line, sourcescan::KindSlot) != sourcescan::LabelLine)
                continue;
            const QString s = text::Trim(doc.GetLine(line).remove(u'\t'));
            if (s.left(s.indexOf(u':')).toUpper() == wanted) {
                view.SetScrollPos(0, line);
                view.MoveCaret(0, line + 1);
                view.SetFocus();
                return;
            }
        }
    } else if (id == ids::ID_Device) {
        if (w && w->List1().isVisible())
            w->List1().hide();
        GetDeviceData(true);
    }
}
