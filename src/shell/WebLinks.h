#pragma once

#include <QString>

// The maker's addresses behind the Help menu's web and mail links.
namespace weblinks {

inline const QString Site = QStringLiteral("https://www.korvanasystems.com");
inline const QString OrderOnline = Site + QStringLiteral("/Merchant2/merchant.mv?Screen=SFNT&Store_Code=KS");
inline const QString ProductUpdates = Site + QStringLiteral("/pinwright/verinfo.htm");
inline const QString BugReport =
    QStringLiteral("mailto:support@korvanasystems.com?subject=Pinwright%20Bug%20Report");
inline const QString PinwrightHomePage = Site + QStringLiteral("/pinwright/index.html");
inline const QString MakerHomePage = Site + QStringLiteral("/index.html");

} // namespace weblinks
