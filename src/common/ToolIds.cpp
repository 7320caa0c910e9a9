#define PINWRIGHT_DEFINE_TOOL_IDS
#include "common/ToolIds.h"
