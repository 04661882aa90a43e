#include "settings/UserDataDirectory.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <vector>

#include "settings/AtomicFile.h"
#include "settings/PathText.h"
#include "settings/SettingsTable.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kBaseFolder = "Brelmor User Data";
constexpr std::string_view kProductFolder = "Tavlix";
constexpr int kNumberedVariants = 5;
constexpr std::string_view kFileAddress = "file://";

// Lines of the attributes row (0 is its header word) that name the attributes a file
// must not have before it is overwritten.
constexpr std::size_t kReadOnlyLine = 2;
constexpr std::size_t kHiddenLine = 3;
constexpr std::size_t kSystemLine = 5;

// name, then "name (1)" to "name (n)": the first that is free or already a folder.
std::optional<fs::path> FirstUsableFolder(const fs::path& base, std::string_view name,
                                          int numberedVariants)
{
    for (int number = 0; number <= numberedVariants; ++number) {
        std::string folder(name);
        if (number > 0)
            folder += " (" + std::to_string(number) + ")";
        const fs::path candidate = base / folder;
        std::error_code ec;
        if (!fs::exists(candidate, ec) || fs::is_directory(candidate, ec))
            return candidate;
    }
    return std::nullopt;
}

// Whether the nearest existing folder of an absolute path refuses new entries: the path
// is good, but nothing can be written there.
bool InWriteProtectedFolder(fs::path path)
{
    if (!path.is_absolute())
        return false;
    std::error_code ec;
    while (!fs::exists(path, ec) && path != path.parent_path())
        path = path.parent_path();
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
           (errno == EACCES || errno == EPERM || errno == EROFS);
}

}  // namespace

UserDataDirectory::UserDataDirectory(ProfileStore& store, const LanguageState& language,
                                     fs::path dataDirectory, fs::path documentsDirectory,
                                     bool isAdministrator)
    : m_editionSettings(store),
      m_language(language),
      m_dataDirectory(NormalizeTypedPath(dataDirectory.string())),
      m_documentsDirectory(NormalizeTypedPath(documentsDirectory.string())),
      m_administrator(isAdministrator)
{
}

bool UserDataDirectory::CheckUserDataDirectory(std::string_view path, std::string& errorText,
                                               int mode)
{
    if (mode == 0) {
        m_current.clear();
        const std::string stored = ReadSetting(m_editionSettings, setting::kUserDataDirectory);
        if (!CheckUserDataDirectory(stored, errorText, 1))
            return false;
        m_current = NormalizeTypedPath(stored);
        return ApplyUserDataDirectory(errorText);
    }

    const std::string directory = NormalizeTypedPath(path);
    errorText.clear();
    std::error_code ec;
    if (!IsValidDirectoryPath(directory)) {
        errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_NOT_A_VALID_WINDOWS_PATH, directory);
    } else if (fs::path(directory).relative_path().empty()) {
        errorText = m_language.GetLocalizedString(IDS_DIALOG_UDD_MESSAGE_CANT_SET_ROOT);
    } else if (!m_dataDirectory.empty() &&
               StartsWithIgnoringCase(directory, m_dataDirectory.string())) {
        // A plain prefix test: a sibling whose name merely begins with the program
        // folder's is refused too, which errs on the safe side.
        errorText = m_language.GetLocalizedString(IDS_DIALOG_UDD_MESSAGE_CANT_SET_UNDER_PRODUCT_ROOT);
    } else if (fs::exists(directory, ec) && !fs::is_directory(directory, ec)) {
        errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_PATH_IS_NOT_AN_EXISTING_DIRECTORY);
        ReplaceAll(errorText, "#1", directory);
    }
    return errorText.empty();
}

bool UserDataDirectory::ApplyUserDataDirectory(std::string& errorText)
{
    const fs::path directory(m_current);
    std::error_code ec;
    if (m_current.empty() || !fs::is_directory(directory, ec)) {
        if (!m_current.empty())
            fs::create_directories(directory, ec);
        if (m_current.empty() || ec || !fs::is_directory(directory, ec)) {
            errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_CAN_NOT_CREATE_DIR);
            ReplaceAll(errorText, "#1", m_current);
            return false;
        }
    }
    m_myFavoritesFile = directory / kMyFavoritesFileName;
    m_troubleMakersFile = directory / kTroubleMakersFileName;
    return true;
}

bool UserDataDirectory::SetUserDataDirectory(std::string_view path, bool validate,
                                             std::string& errorText)
{
    errorText.clear();
    const std::string directory = NormalizeTypedPath(path);
    if (validate && !CheckUserDataDirectory(directory, errorText, 1))
        return false;
    m_current = directory;
    if (!ApplyUserDataDirectory(errorText))
        return false;
    // A failed write is no failure: the choice then lasts for this run only.
    WriteSetting(m_editionSettings, setting::kUserDataDirectory, directory);
    return true;
}

bool UserDataDirectory::SetUpUserDataDirectory(const std::function<void()>& showDialog)
{
    std::string ignored;
    if (CheckUserDataDirectory(m_current, ignored, 1) || CheckUserDataDirectory({}, ignored, 0))
        return true;
    if (showDialog)
        showDialog();
    return CheckUserDataDirectory({}, ignored, 0);
}

bool UserDataDirectory::ChangeUserDataDirectory(
    std::string_view path, const std::function<bool(const std::string&)>& askCopy,
    std::string& errorText)
{
    errorText.clear();
    const std::string directory = NormalizeTypedPath(path);
    if (EqualsIgnoringCase(directory, m_current))
        return true;
    const std::string title = m_language.GetLocalizedString(IDS_DIALOG_UDD_TITLE);
    std::string reason;
    if (!CheckUserDataDirectory(directory, reason, 1)) {
        errorText = m_language.GetLocalizedString(IDS_DIALOG_OPTIONS_UDD_NOT_SAVED, title, reason);
        return false;
    }
    const std::string old = m_current;
    m_current = directory;
    if (!ApplyUserDataDirectory(errorText))
        return false;
    if (!old.empty() && askCopy &&
        askCopy(m_language.GetLocalizedString(IDS_DIALOG_OPTIONS_PROMPT_COPY_UDD, title, old,
                                              directory)))
        CopyDirectoryContent(directory, old);  // a failed copy leaves the new folder as it is
    return SetUserDataDirectory(directory, true, errorText);
}

std::string UserDataDirectory::SuggestUserDataDirectory() const
{
    if (m_documentsDirectory.empty())
        return {};
    // Only an administrator's base is chosen among candidates; a user's is fixed.
    const std::optional<fs::path> base =
        m_administrator ? FirstUsableFolder(m_documentsDirectory, kBaseFolder, kNumberedVariants)
                         : m_documentsDirectory / kBaseFolder;
    if (!base)
        return {};
    const std::optional<fs::path> folder =
        FirstUsableFolder(*base, kProductFolder, kNumberedVariants);
    return folder ? folder->string() : std::string();
}

std::string UserDataDirectory::TextFilePath(std::string_view path)
{
    std::string file(TrimBlanksAndLineEnds(path));
    if (StartsWithIgnoringCase(file, kFileAddress))
        file.erase(0, kFileAddress.size());
    std::replace(file.begin(), file.end(), '\\', '/');
    return file;
}

int UserDataDirectory::WriteTextFile(std::string_view path, std::string_view text,
                                     std::string& errorText) const
{
    const std::string file = TextFilePath(path);

    errorText.clear();
    if (!IsValidDirectoryPath(file)) {
        if (InWriteProtectedFolder(file)) {
            errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP_DISK_FULL, file);
            return -3;
        }
        errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_NOT_A_VALID_WINDOWS_PATH, file);
        return 0;
    }
    std::error_code ec;
    if (file.ends_with('/') || fs::is_directory(file, ec)) {
        errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_PATH_IS_A_DIRECTORY_NOT_A_FILE);
        ReplaceAll(errorText, "#1", file);
        return -1;
    }

    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
        const std::vector<std::string> names =
            GetSAFromMLString(m_language.GetLocalizedString(IDS_BMT_PROPERTIES_ATTRIBUTES));
        std::string list;
        const auto add = [&](bool present, std::size_t line) {
            if (!present)
                return;
            if (!list.empty())
                list += " + ";
            list += "\"" + (line < names.size() ? names[line] : std::string()) + "\"";
        };
        add(::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0, kReadOnlyLine);
        add(fs::path(file).filename().string().starts_with('.'), kHiddenLine);
        add(!S_ISREG(info.st_mode), kSystemLine);
        if (!list.empty()) {
            errorText = m_language.GetLocalizedString(IDS_ERROR_FILE_READONLY_HIDDEN_SYSTEM);
            ReplaceAll(errorText, "#1", file);
            ReplaceAll(errorText, "#2", list);
            return -2;
        }
    }

    if (WriteFileAtomically(file, text)) {
        errorText =
            m_language.GetLocalizedString(IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP_DISK_FULL, file);
        return -3;
    }
    return 1;
}

bool UserDataDirectory::IsValidDirectoryPath(std::string_view path)
{
    const std::string text = NormalizeTypedPath(path);
    // A relative path would depend on the working folder; one longer than the system
    // takes, or with a NUL inside, names nothing.
    if (text.empty() || text.size() >= PATH_MAX || text.find('\0') != std::string::npos ||
        text.front() != '/')
        return false;

    std::vector<fs::path> missing;
    std::error_code ec;
    for (fs::path folder(text); !fs::exists(folder, ec); folder = folder.parent_path()) {
        if (folder == folder.parent_path())
            return false;
        missing.push_back(folder);
    }

    std::vector<fs::path> created;
    bool valid = true;
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
        const bool made = fs::create_directory(*folder, ec);
        if (ec) {
            valid = false;
            break;
        }
        if (made)
            created.push_back(*folder);
    }
    for (auto folder = created.rbegin(); folder != created.rend(); ++folder)
        fs::remove(*folder, ec);
    return valid;
}

bool UserDataDirectory::CopyDirectoryContent(const fs::path& toDir, const fs::path& fromDir)
{
    std::error_code ec;
    if (toDir.empty() || !fs::is_directory(fromDir, ec))
        return false;
    const fs::path from = fs::canonical(fromDir, ec);
    const fs::path to = ec ? fs::path() : fs::weakly_canonical(toDir, ec);
    if (ec)
        return false;
    // Copying a folder into itself or into one of its own folders would never end.
    if (std::mismatch(from.begin(), from.end(), to.begin(), to.end()).first == from.end())
        return false;
    // Links are copied as links: followed, a link to a parent folder would never end.
    fs::copy(from, to,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                 fs::copy_options::copy_symlinks,
             ec);
    return !ec;
}

}  // namespace tavlix
