#pragma once

#include "shell/SettingsKeys.h"

// The token classes with a user colour, their settings keys, and whether they are drawn bold.
namespace colortable {

struct Row {
    const settings::Key& key;
    int tokenClass;
    bool bold;
};

inline constexpr Row Rows[] = {
    {settings::colors::svSymbol, 2, false},  {settings::colors::svNumber, 3, false},
    {settings::colors::svSpecial, 5, false}, {settings::colors::svComment, 6, false},
    {settings::colors::svString, 7, false},  {settings::colors::svStatements, 10, true},
    {settings::colors::svDefines, 11, true}, {settings::colors::svVarSize, 12, true},
    {settings::colors::svMath, 13, true},    {settings::colors::svLogic, 14, true},
    {settings::colors::svModifer, 15, true},
};

// True for the classes whose colour the user can change (the token-colour command).
constexpr bool isUserColoredClass(int cls) {
    for (const Row& r : Rows)
        if (r.tokenClass == cls)
            return true;
    return false;
}

} // namespace colortable
