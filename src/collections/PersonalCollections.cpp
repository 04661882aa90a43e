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

CollectionContext PersonalCollections::Context() const
{
    return {m_services.language, m_services.profile, *m_services.userData, m_services.openHelpTopic,
            m_services.pickSaveFile};
}

void PersonalCollections::SaveQuestion(bool toMyFavorites, const NumberArray& question, QWidget* parent)
{
    const QString text = QString::fromStdString(CBMUtilities::FormatQuestion(question[0], question[1], question[2],
                                                                              question[3]));
    SaveToDlg dialog(Of(toMyFavorites), Context(), text, {}, parent);
    dialog.exec();
}

// The collections hold questions up to 13 whatever the window's J/Q/K choice.
void PersonalCollections::Show(bool myFavorites, QWidget* parent)
{
    if (!SetUp())
        return;
    const unsigned maximum = CBMUtilities::GetCurrentMaximum();
    CBMUtilities::SetCurrentMaximum(13);
    CollectionDlg dialog(Of(myFavorites), Context(), parent);
    dialog.exec();
    CBMUtilities::SetCurrentMaximum(maximum);
}

void PersonalCollections::ShowInstantSolutions(bool advancedRule, QWidget* parent)
{
    const unsigned maximum = CBMUtilities::GetCurrentMaximum();
    CBMUtilities::SetCurrentMaximum(13);
    CollectionItemDlg dialog(nullptr, std::string::npos, Context(), advancedRule, parent);
    dialog.exec();
    CBMUtilities::SetCurrentMaximum(maximum);
}

}  // namespace tavlix
