#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "i18n/Edition.h"

namespace tavlix {

class DebugLog;
class Profile;

// "Tavlix Simplified Chinese Edition" or "Tavlix Standard Edition".
std::string EditionName(Edition edition);

// The dotted number in a version text ("Tavlix 1.5" gives "1.5"); defaultText when
// the text holds none, empty for an empty text.
std::string VersionFromText(std::string_view text, std::string_view defaultText);

// What the first-run check concluded: go on, or stop after showing the message.
struct FirstRunResult {
    bool proceed;
    int messageId;  // 0 when there is nothing to show
};

// The first start on a machine needs an administrator, who marks it in the
// machine-wide settings (the first-run mark "1"); later starts need nobody. An
// installation made by root carries the mark in installationMark ("1"), so that every
// account can start at once. An administrator whose mark cannot be saved goes on, and
// is told how to unlock the program for the other accounts.
FirstRunResult CheckFirstRun(Profile& machine, std::string_view installationMark, bool isAdministrator,
                             const DebugLog* log);

// The first-run mark an installation leaves in config/installation.ini beside the
// program; empty when there is none.
std::string ReadInstallationMark(const std::filesystem::path& programDirectory);

// An installation leaves config/installation.ini beside the program; a build tree has
// none.
bool IsInstallation(const std::filesystem::path& programDirectory);

// music.ini is made from the factory settings when it is missing; an existing one is
// never overwritten. False when the factory file itself is missing.
bool EnsureMusicFile(const std::filesystem::path& defaultMusicFile,
                     const std::filesystem::path& musicFile);

}  // namespace tavlix
