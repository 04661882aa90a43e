#include "i18n/LanguageState.h"

#include <algorithm>

#include "i18n/StringIds.h"
#include "common/TextUtilities.h"

namespace tavlix {

namespace {

constexpr int kCachedIds[] = {
    IDS_DIALOG_OK, IDS_DIALOG_CANCEL, IDS_DIALOG_ABORT_A, IDS_DIALOG_RETRY_R,
    IDS_DIALOG_IGNORE_I, IDS_DIALOG_YES_Y, IDS_DIALOG_NO_N,
    IDS_DIALOG_BM_MESSAGE_BOX_DETAILS_D, IDS_DIALOG_BM_MESSAGE_BOX_SHOW_DETAILS_D,
    IDS_DIALOG_BM_MESSAGE_BOX_HIDE_DETAILS_D, IDS_DIALOG_BM_MESSAGE_BOX_SHOW_NEXT_TIME_S,
    IDS_DIALOG_BROWSE_FOR_FOLDER,
    IDS_ERROR_FILE_CAN_NOT_WRITE_FILE, IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP,
    IDS_ERROR_FILE_CAN_NOT_WRITE_FILE_CHECK_FP_DISK_FULL,
    IDS_ERROR_FILE_CAN_NOT_ACCESS_FILE0_CHECK_FL, IDS_ERROR_FILE_CAN_NOT_CREATE_DIR,
    IDS_ERROR_FILE_SHARING_VIOLATION, IDS_ERROR_FILE_FILE_NOT_FOUND0,
    IDS_ERROR_FILE_PATH_NOT_FOUND0, IDS_ERROR_FILE_NOT_A_VALID_WINDOWS_PATH,
    IDS_ERROR_FILE_PATH_IS_A_DIRECTORY_NOT_A_FILE, IDS_ERROR_FILE_READONLY_HIDDEN_SYSTEM,
    IDS_ERROR_FILE_PATH_IS_NOT_AN_EXISTING_DIRECTORY,
    IDS_BMT_YES, IDS_BMT_NO, IDS_DIALOG_UDD_TITLE,
    IDS_TIP_EXIT, IDS_TIP_HELP, IDS_TIP_PATH, IDS_TIP_SAVE,
};

struct LanguageEntry {
    const char* id;
    std::uint32_t lcid;
};
constexpr LanguageEntry kLanguages[] = {
    {"0409", kLcidEnglish}, {"0804", kLcidSimplifiedChinese}, {"0404", kLcidTraditionalChinese}};

}  // namespace

LanguageState::LanguageState(int stringCount) : m_stringCount(stringCount)
{
    UseLcid(kLcidEnglish);
}

CharacterSet LanguageState::InputCharacterSet() const
{
    switch (m_fontCharSet) {
    case int(CharacterSet::SimplifiedChinese): return CharacterSet::SimplifiedChinese;
    case int(CharacterSet::TraditionalChinese): return CharacterSet::TraditionalChinese;
    default: return CharacterSet::English;
    }
}

void LanguageState::UseLcid(std::uint32_t lcid)
{
    m_lcid = lcid;
    m_fontCharSet = GetFontCharSet(lcid);
    m_productName = GetLocalizedString(IDS_BMT_PRODUCT);
    m_companyName = GetLocalizedString(IDS_BMT_COMPANY);
}

void LanguageState::InitLanguage(Edition edition, std::uint32_t chosenLcid)
{
    m_languageNames.clear();
    m_languageIds.clear();
    if (edition == Edition::SimplifiedChinese) {
        UseLcid(kLcidSimplifiedChinese);
        return;
    }
    for (int column = kEnglish; column <= kTraditionalChinese; ++column) {
        m_languageNames.push_back(GetLocalizedString(Shell_Language, {}, {}, {}, column));
        m_languageIds.push_back(kLanguages[column - kEnglish].id);
    }
    UseLcid(chosenLcid == kLcidSimplifiedChinese || chosenLcid == kLcidTraditionalChinese ? chosenLcid
                                                                                         : kLcidEnglish);
}

bool LanguageState::SetLanguage(std::string_view languageName)
{
    const auto it = std::find(m_languageNames.begin(), m_languageNames.end(), languageName);
    if (it == m_languageNames.end())
        return false;
    const std::uint32_t lcid =
        ParseHexNumber(m_languageIds[std::size_t(it - m_languageNames.begin())]);
    if (lcid == m_lcid)
        return false;
    UseLcid(lcid);
    return true;
}

std::string LanguageState::GetLocalizedString(int id, std::string_view first,
                                              std::string_view second, std::string_view third,
                                              int column) const
{
    if (column == kCurrentLanguage) {
        switch (m_lcid) {
        case kLcidEnglish: column = kEnglish; break;
        case kLcidSimplifiedChinese: column = kSimplifiedChinese; break;
        default: column = kTraditionalChinese; break;
        }
    }
    return LookUpString(id, column, first, second, third, m_stringCount);
}

void CachedStrings::Reload(const LanguageState& language)
{
    m_texts.clear();
    for (const int id : kCachedIds)
        m_texts[id] = language.GetLocalizedString(id);
    m_attributes = GetSAFromMLString(language.GetLocalizedString(IDS_BMT_PROPERTIES_ATTRIBUTES));
}

const std::string& CachedStrings::Get(int id) const
{
    static const std::string empty;
    const auto it = m_texts.find(id);
    return it == m_texts.end() ? empty : it->second;
}

const std::string& CachedStrings::Attribute(std::size_t i) const
{
    static const std::string empty;
    return i < m_attributes.size() ? m_attributes[i] : empty;
}

}  // namespace tavlix
