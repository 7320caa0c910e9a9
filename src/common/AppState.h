#pragma once

#include "language/DeviceDatabase.h"
#include "language/StatementTable.h"

#include <QtGlobal>
#include <array>

class Settings;
class Prompts;
class QProcess;

// The values every window of one running frame shares, under the names the design gives them.
// The frame owns the one instance and hands it by reference to each window it creates, so a test that
// builds a fresh frame gets fresh state.
struct AppState {
    AppState(Settings& settings_, Prompts& prompts_) : settings(settings_), prompts(prompts_) {}

    Settings& settings;
    Prompts& prompts;

    // True while PicBasic Pro is the selected compiler, False for PicBasic.
    bool PBPMode = true;
    // Pin counts of the selected device: 0 GPIO, 1 PORTA .. 8 PORTH, 9 PORTJ.
    DevicePortTable DevicePorts{};
    // The statement reference table and, inside it, the DEFINE name list (PBPDefines), numbered from 1.
    StatementTable PBPCodes;

    // Quick-list state, shared by caret tracking, the keyboard handlers and the pop-up lists.
    qint32 QuickListMode = 0;
    qint16 StatementRow = 0;
    // Elements 1..4: statement row, 1-based keyword column, keyword length, 1-based line (0 unused).
    std::array<qint32, 5> QuickListContext{};
    qint32 ListMode = 0;
    qint32 CaretPointX = 0;
    qint32 CaretPointY = 0;
    // The token class under the last mouse release in an editor; 0 none.
    qint32 MouseTokenClass = 0;

    // The hidden compile run, while one is going.
    QProcess* CompileProcess = nullptr;
    // The window handle of the editor that loaded last (0 until one has).
    qint32 HelpOwner = 0;
};
