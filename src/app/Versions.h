#pragma once
// Version numbers as the update check compares them: dotted decimal numbers,
// part by part, a missing part counting as 0 (0.10 is newer than 0.3.3, and
// 1.2 equals 1.2.0.0). White space around the text, such as the line break
// that ends a version file, is not part of the number.

#include "core/Failure.h"

#include <optional>
#include <string_view>
#include <vector>

namespace tsl {

using VersionNumber = std::vector<unsigned long>;

// The parts of "1.2.3"; nothing when the text is not a dotted decimal number.
std::optional<VersionNumber> ParseVersion(std::string_view text);

// Negative, zero or positive as a is older than, equal to or newer than b.
int CompareVersions(const VersionNumber& a, const VersionNumber& b);

enum class RemoteVersion { Newer, NotNewer, Unreadable };

// How the version text fetched from the server stands to the program's own.
RemoteVersion JudgeRemoteVersion(std::string_view remote, const VersionNumber& own);

// The update check's messages.
inline constexpr const char* kUpdateErrorCaption = "Error loading information";
inline constexpr const char* kCurrentVersionCaption = "Current Version";
inline const Failure kUpdateAddressesMissing{
    "Important version information are missing!\n\nCheck the download URLs in your TSL.ini!", kUpdateErrorCaption,
    MessageIcon::Error};
inline const Failure kOwnVersionMissing{"No program version information found!",
                                        "Error loading program version information", MessageIcon::Error};
inline const Failure kRemoteVersionUnreadable{"The version information on the server can't be read!",
                                              kUpdateErrorCaption, MessageIcon::Error};
inline const Failure kNewVersionAvailable{"There's a new version of TSL available for download.",
                                          kCurrentVersionCaption, MessageIcon::Warning};
inline const Failure kDownloadQuestion{"Do you wish to download the latest version of TSL now?",
                                       kCurrentVersionCaption, MessageIcon::Question};
inline const Failure kLatestVersion{"You've the latest version of TSL.", kCurrentVersionCaption,
                                    MessageIcon::Information};

} // namespace tsl
