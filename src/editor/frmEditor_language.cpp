// The editor window's language tables: the statement reference table and the keyword lists.
#include "editor/frmEditor.h"

#include "language/ReservedWords.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "platform/sourceview/SourceView.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/ToolIds.h"

#include <QListWidget>

void frmEditor::InitPBPCodes() {
    // Rebuilding for PicBasic empties the rows and DEFINE names PicBasic Pro alone has, so a table built
    // after a compiler switch equals one built for PicBasic from the start.
    state_.PBPCodes.InitPBPCodes(state_.PBPMode);
}

void frmEditor::LoadReservedWords() {
    DeviceIndex = qint16(frame_.toolBars().ListIndex(ids::ID_Device));
    SourceDocument& doc = View_->Document();
    // PicBasic Pro also starts a comment with ";".
    doc.SetSLCommentStart3(state_.PBPMode ? QStringLiteral(";") : QString());
    doc.ClearKeywords();
    for (const KeywordAddition& k :
         ReservedWords::buildKeywordLists(state_.PBPCodes, state_.PBPMode, state_.DevicePorts))
        doc.AddKeyword(k.list, k.word);
    List1_->addItems(ReservedWords::statementWordsForList(state_.PBPCodes));
}
