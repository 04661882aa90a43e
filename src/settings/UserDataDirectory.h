#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "settings/Profile.h"

namespace tavlix {

class LanguageState;
class ProfileStore;

// The folder that holds the user's own data (the two collections), outside the
// program's folder so that it outlives an uninstall, and the paths derived from it.
// Directory paths are texts as the user sees them: a typed path is trimmed and "\"
// becomes "/" before it is checked, used or stored. Every failure comes with a text in
// the current language, ready to show.
class UserDataDirectory {
public:
    static constexpr std::string_view kMyFavoritesFileName = "cmf.ini";
    static constexpr std::string_view kTroubleMakersFileName = "ctm.ini";

    // store: the edition's settings root, shared by all versions of the edition, where
    // the chosen directory is kept; dataDirectory: the program's own folder, in
    // which no user data directory may lie; documentsDirectory: the base of the
    // suggestion. All three outlive this object or are copied.
    UserDataDirectory(ProfileStore& store, const LanguageState& language,
                      std::filesystem::path dataDirectory,
                      std::filesystem::path documentsDirectory, bool isAdministrator);

    // Mode 1 (any mode but 0): whether path may be the user data directory. Mode 0:
    // ignores path, checks the stored directory the same way and, when it passes, makes
    // it current and applies it. False with the reason in errorText.
    bool CheckUserDataDirectory(std::string_view path, std::string& errorText, int mode);
    // Creates the current directory when missing and sets the collection file paths.
    bool ApplyUserDataDirectory(std::string& errorText);
    // Optionally checks path (mode 1), makes it current, applies it and stores it.
    bool SetUserDataDirectory(std::string_view path, bool validate, std::string& errorText);
    // Makes sure a valid directory is current: the current one, else the stored one, else
    // whatever showDialog (modal; it stores the user's choice or nothing) leaves stored.
    // False only when that fails too.
    bool SetUpUserDataDirectory(const std::function<void()>& showDialog);
    // What the Options dialog does with its text: nothing when it names the current
    // directory (in any letter case); otherwise checks it, makes it current, offers
    // through askCopy (given the Yes/No question, true for Yes) to copy the old
    // directory's content, and stores it. False with the text to show when the new
    // directory is refused or can not be set.
    bool ChangeUserDataDirectory(std::string_view path,
                                 const std::function<bool(const std::string&)>& askCopy,
                                 std::string& errorText);
    // The proposal for a new user: "Tavlix" (or "Tavlix (1)".."(5)") in "Brelmor User
    // Data" of the documents folder (administrators also "Brelmor User Data (1)".."(5)");
    // the first candidate that is free or a folder, or the empty text when all are files.
    std::string SuggestUserDataDirectory() const;

    // Writes a whole text file for an export or a generated page, atomically. path may be
    // a "file://" address. Returns 1 on success; on failure 0 (not a valid path), -1 (a
    // folder), -2 (a read-only, hidden or system file) or -3 (could not write), with the
    // reason in errorText.
    int WriteTextFile(std::string_view path, std::string_view text, std::string& errorText) const;
    // The file WriteTextFile writes for a typed path or "file://" address.
    static std::string TextFilePath(std::string_view path);

    // True when the absolute path exists or every missing folder along it can be
    // created; the folders made for the test are removed again.
    static bool IsValidDirectoryPath(std::string_view path);
    // Copies everything under fromDir into toDir, replacing files of the same name. False
    // when fromDir is not a folder, when toDir lies inside it, or when a copy fails.
    static bool CopyDirectoryContent(const std::filesystem::path& toDir,
                                     const std::filesystem::path& fromDir);

    const std::string& Current() const { return m_current; }
    const std::filesystem::path& MyFavoritesFile() const { return m_myFavoritesFile; }
    const std::filesystem::path& TroubleMakersFile() const { return m_troubleMakersFile; }
    const std::filesystem::path& DataDirectory() const { return m_dataDirectory; }
    const std::filesystem::path& DocumentsDirectory() const { return m_documentsDirectory; }
    bool IsAdministrator() const { return m_administrator; }

private:
    Profile m_editionSettings;
    const LanguageState& m_language;
    std::filesystem::path m_dataDirectory;
    std::filesystem::path m_documentsDirectory;
    bool m_administrator;
    std::string m_current;
    std::filesystem::path m_myFavoritesFile;
    std::filesystem::path m_troubleMakersFile;
};

}  // namespace tavlix
