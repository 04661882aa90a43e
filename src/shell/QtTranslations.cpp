#include "shell/QtTranslations.h"

#include <QApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>

#include "i18n/LanguageState.h"

namespace tavlix {

namespace {

constexpr char kTranslatorName[] = "qtTranslationOfInterfaceLanguage";

const char* QtTranslationFile(std::uint32_t lcid)
{
    switch (lcid) {
    case kLcidSimplifiedChinese: return "qtbase_zh_CN";
    case kLcidTraditionalChinese: return "qtbase_zh_TW";
    default: return nullptr;  // Qt speaks English untranslated
    }
}

}  // namespace

void FollowInterfaceLanguage(std::uint32_t lcid)
{
    // A translator takes itself out of the application when it goes.
    delete qApp->findChild<QTranslator*>(QLatin1String(kTranslatorName), Qt::FindDirectChildrenOnly);
    if (const char* file = QtTranslationFile(lcid)) {
        auto* translator = new QTranslator(qApp);
        translator->setObjectName(QLatin1String(kTranslatorName));
        if (translator->load(QLatin1String(file), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(translator);
        else
            delete translator;
    }
    // Without Qt's translations installed there is no change of translator to tell them.
    QCoreApplication::postEvent(qApp, new QEvent(QEvent::LanguageChange));
}

}  // namespace tavlix
