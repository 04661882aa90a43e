#include "collections/CollectionContext.h"

#include <filesystem>

#include "controls/CBMMessageBox.h"
#include "controls/DialogSupport.h"
#include "i18n/LanguageState.h"
#include "i18n/StringIds.h"
#include "settings/UserDataDirectory.h"
#include "collections/Collection.h"

namespace tavlix {

bool SaveCollection(Collection& collection, const CollectionContext& context, QWidget* parent)
{
    const std::filesystem::path file = collection.IsMyFavorites() ? context.userData.MyFavoritesFile()
                                                                  : context.userData.TroubleMakersFile();
    std::string error;
    if (collection.Save(file, context.language, error))
        return true;
    ShowNotice(ToQString(error), parent);
    return false;
}

std::string CollectionTitle(const Collection& collection, const LanguageState& language)
{
    return language.GetLocalizedString(collection.IsMyFavorites() ? IDS_DIALOG_SF_PROMPT_TITLE_MY_FAVORITES
                                                                  : IDS_DIALOG_SF_PROMPT_TITLE_TROUBLE_MAKERS);
}

}  // namespace tavlix
