#include "collections/PersonalCollections.h"

#include "collections/CollectionContext.h"
#include "collections/CollectionDlg.h"
#include "collections/CollectionItemDlg.h"
#include "collections/SaveToDlg.h"
#include "settings/UserDataDirectory.h"

namespace tavlix {

PersonalCollections::PersonalCollections(Services services) : m_services(std::move(services))
{
    if (!m_services.userData)
        return;
    m_myFavorites.Load(m_services.userData->MyFavoritesFile());
    m_troubleMakers.Load(m_services.userData->TroubleMakersFile());
}

bool PersonalCollections::Holds(const Collection& collection, const std::string& typedQuestion) const
{
    return CBMUtilities::IsQuestionInList(typedQuestion, collection.Questions()) != 0;
}

bool PersonalCollections::SetUp() const
{
    return m_services.userData && m_services.setUpUserDataDirectory && m_services.setUpUserDataDirectory();
}

CollectionContext PersonalCollections::Context(unsigned maximum) const
{
    return {m_services.language, m_services.profile, *m_services.userData, m_services.openHelpTopic,
            m_services.pickSaveFile, maximum};
}

void PersonalCollections::SaveQuestion(bool toMyFavorites, const NumberArray& question, unsigned maximum,
                                       QWidget* parent)
{
    const QString text = QString::fromStdString(CBMUtilities::FormatQuestion(question[0], question[1], question[2],
                                                                              question[3]));
    SaveToDlg dialog(Of(toMyFavorites), Context(maximum), text, {}, parent);
    dialog.exec();
}

void PersonalCollections::Show(bool myFavorites, QWidget* parent)
{
    if (!SetUp())
        return;
    CollectionDlg dialog(Of(myFavorites), Context(), parent);
    dialog.exec();
}

void PersonalCollections::ShowInstantSolutions(bool advancedRule, QWidget* parent)
{
    CollectionItemDlg dialog(nullptr, std::string::npos, Context(), advancedRule, parent);
    dialog.exec();
}

}  // namespace tavlix
