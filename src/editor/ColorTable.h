#pragma once

#include "platform/Colors.h"
#include "common/SettingsKeys.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

// The token classes the editor draws, each with a user colour: their settings keys, whether they are
// drawn bold, and the stock colour that stands in for the key's declared one on a dark background.
namespace colortable {

struct Row {
    const settings::Key& key;
    int tokenClass;
    bool bold;
    std::int32_t darkDefault;
};

inline constexpr std::int32_t DarkText = colors::rgb(212, 212, 212);
inline constexpr std::int32_t DarkKeyword = colors::rgb(110, 160, 255);

inline constexpr Row Rows[] = {
    {settings::colors::svNames, 1, false, DarkText},
    {settings::colors::svSymbol, 2, false, DarkText},
    {settings::colors::svNumber, 3, false, colors::rgb(80, 210, 210)},
    {settings::colors::svSpecial, 5, false, DarkText},
    {settings::colors::svComment, 6, false, colors::rgb(110, 190, 110)},
    {settings::colors::svString, 7, false, colors::rgb(240, 130, 110)},
    {settings::colors::svStatements, 10, true, DarkKeyword},
    {settings::colors::svDefines, 11, true, colors::rgb(220, 140, 230)},
    {settings::colors::svVarSize, 12, true, DarkKeyword},
    {settings::colors::svMath, 13, true, DarkKeyword},
    {settings::colors::svLogic, 14, true, DarkKeyword},
    {settings::colors::svModifer, 15, true, DarkKeyword},
};

// The key's declared colour: the stock colour for a light background.
inline std::int32_t lightDefault(const Row& r) {
    return QByteArray(r.key.value).toInt();
}

// Whether a stored colour is the user's own. The stock colours are stored as the declared ones, so a
// stored declared colour is the stock set unless the store vouches for it as chosen (`vouched`); any
// other value, a dark stock colour among them, was stored as a user's choice.
inline bool isOwn(const Row& r, std::int32_t stored, bool vouched) {
    return vouched || stored != lightDefault(r);
}

// The colour a window shows: the user's own as chosen, else the stock colour of the set drawn for that
// kind of background (light or dark). The stock sets were drawn for the desktop's own window colours;
// on a background the user chose (`chosenBackground`) a stock colour that does not read takes the other
// set's, or the nearer of the two made darker or lighter until it reads.
inline std::int32_t shown(const Row& r, std::int32_t stored, bool own, const QColor& background,
                          bool chosenBackground) {
    if (own)
        return stored;
    const bool dark = colors::isDark(background);
    const std::int32_t first = dark ? r.darkDefault : lightDefault(r);
    if (!chosenBackground)
        return first;
    const std::int32_t second = dark ? lightDefault(r) : r.darkDefault;
    return colors::fromQColor(
        colors::readable({colors::toQColor(first), colors::toQColor(second)}, background));
}

// The colour written to the store: the user's own as chosen, whatever its value; the stock colours as
// the declared ones, whatever the background, so that a stored file reads the same under either theme.
inline std::int32_t toStore(const Row& r, std::int32_t shown, bool own) {
    return own ? shown : lightDefault(r);
}

// An own colour equal to the declared one reads as the stock set unless the store vouches for it: the
// key names in the OwnColors value, separated by blanks.
inline bool needsVouching(const Row& r, std::int32_t stored, bool own) {
    return own && stored == lightDefault(r);
}
inline bool vouchedFor(const QString& ownColors, const Row& r) {
    return ownColors.split(u' ', Qt::SkipEmptyParts).contains(QLatin1StringView(r.key.name));
}
// The OwnColors value with the row's key name added (`vouch`) or taken out.
inline QString vouched(const QString& ownColors, const Row& r, bool vouch) {
    QStringList names = ownColors.split(u' ', Qt::SkipEmptyParts);
    names.removeAll(QLatin1StringView(r.key.name));
    if (vouch)
        names << QLatin1StringView(r.key.name);
    return names.join(u' ');
}

// The row of a token class; null for a class the editor does not colour.
inline const Row* rowOf(int cls) {
    for (const Row& r : Rows)
        if (r.tokenClass == cls)
            return &r;
    return nullptr;
}

// True for the classes whose colour the user can change (the token-colour command).
constexpr bool isUserColoredClass(int cls) {
    for (const Row& r : Rows)
        if (r.tokenClass == cls)
            return true;
    return false;
}

} // namespace colortable
