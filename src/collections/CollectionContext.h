#pragma once

#include <QString>

#include <functional>
#include <string>

#include "engine/Rules.h"

class QWidget;

namespace tavlix {

class Collection;
class LanguageState;
class Profile;
class UserDataDirectory;

// What the collection windows share: the language, the settings, where the collections
// live and how the user's help and folder choices are reached.
struct CollectionContext {
    const LanguageState& language;
    Profile& profile;
    UserDataDirectory& userData;
    std::function<void(int topic)> openHelpTopic;
    // Save-file picker: start path, title, filter; the chosen path or nothing.
    std::function<QString(QWidget*, const QString&, const QString&, const QString&)> pickSaveFile;
    // The largest number of a question saved: the main window's J/Q/K choice for its Save
    // to command; a collection holds questions up to 13 whatever that choice.
    unsigned maximum = kLargestNumber;
};

// Saves a collection to its file in the user data directory, showing the reason when
// that fails; true when it was written.
bool SaveCollection(Collection& collection, const CollectionContext& context, QWidget* parent);

// F1 in every collection window opens this help topic.
constexpr int kCollectionsHelpTopic = 18;

// "My Favorites" or "Trouble Makers" in the interface language.
std::string CollectionTitle(const Collection& collection, const LanguageState& language);

}  // namespace tavlix
