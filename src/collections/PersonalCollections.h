#pragma once

#include <QString>

#include <functional>
#include <string>

#include "collections/Collection.h"
#include "engine/CBMUtilities.h"

class QWidget;

namespace tavlix {

class LanguageState;
class Profile;
class UserDataDirectory;
struct CollectionContext;

// "My Favorites" and "Trouble Makers" as the main window keeps them: loaded from the user
// data directory at the start, with the commands that keep a question in one and the
// windows that show them.
class PersonalCollections {
public:
    struct Services {
        const LanguageState& language;
        Profile& profile;
        UserDataDirectory* userData = nullptr;  // nullptr: the collections stay empty
        std::function<bool()> setUpUserDataDirectory;
        std::function<void(int topic)> openHelpTopic;
        // Save-file picker: start path, title, filter; the chosen path or nothing.
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)> pickSaveFile;
    };

    explicit PersonalCollections(Services services);

    const Collection& MyFavorites() const { return m_myFavorites; }
    const Collection& TroubleMakers() const { return m_troubleMakers; }
    // Whether the question text typed in the boxes is in the collection; a text that is no
    // question counts as present, so that it cannot be saved.
    bool Holds(const Collection& collection, const std::string& typedQuestion) const;

    // Sets up the user data directory the collections live in, when it is not yet; false
    // when there is none.
    bool SetUp() const;
    // The Save to command, once set up: the question (sorted, valid) into the collection,
    // with a note.
    // maximum: the largest number of the window's J/Q/K choice.
    void SaveQuestion(bool toMyFavorites, const NumberArray& question, unsigned maximum, QWidget* parent);
    void Show(bool myFavorites, QWidget* parent);
    // Tools > Instant Solutions, under the rule of the window.
    void ShowInstantSolutions(bool advancedRule, QWidget* parent);

private:
    CollectionContext Context(unsigned maximum = kLargestNumber) const;
    Collection& Of(bool myFavorites) { return myFavorites ? m_myFavorites : m_troubleMakers; }

    Services m_services;
    Collection m_myFavorites{true};
    Collection m_troubleMakers{false};
};

}  // namespace tavlix
