#pragma once

// What a test of the real frame works with: the fixture, the frame, its editor windows and their
// control, the tool bars, tool ids and settings keys.
#include <QTest>

#include "editor/frmEditor.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "common/SettingsKeys.h"
#include "common/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QTabBar>
