#include "editor/frmEditor.h"

// Placeholder until the compiler output window provides the message lookup.
void frmEditor::GetErrorDescription(const qint32&) {}
