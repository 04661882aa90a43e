#include <QLineEdit>
#include <QTemporaryDir>

#include <fstream>

#include "GuiTestSupport.h"
#include "settings/OptionsDlg.h"
#include "settings/UserDataDirDlg.h"
#include "settings/UserDataDirectory.h"
#include "controls/PictureButton.h"

using namespace tavlix;
using namespace tavlix::testing;
namespace fs = std::filesystem;

class SettingsDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LanguageState m_language = MakeLanguage();
    CachedStrings m_cache;
    InMemoryProfileStore m_store;
    std::vector<int> m_helpTopics;

    fs::path Root() const { return fs::path(m_dir.path().toStdString()); }

    std::unique_ptr<UserDataDirectory> UserData(bool administrator)
    {
        m_store = InMemoryProfileStore();
        return std::make_unique<UserDataDirectory>(m_store, m_language, Root() / "program",
                                                   Root() / "documents", administrator);
    }

    template <typename Dialog>
    static auto* Child(Dialog& dialog, const char* name)
    {
        return dialog.template findChild<QWidget*>(QLatin1String(name));
    }

private slots:
    void initTestCase()
    {
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, {}});
        fs::create_directories(Root() / "program");
    }

    void suggestionForUsersWithoutRights()
    {
        auto userData = UserData(false);
        UserDataDirDlg dialog(*userData, m_language, [this](int t) { m_helpTopics.push_back(t); });
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("directoryEdit"));
        QCOMPARE(edit->text().toStdString(), (Root() / "documents" / "Brelmor User Data" / "Tavlix").string());
        QVERIFY(edit->isReadOnly());
        QVERIFY(!Child(dialog, "browseButton")->isEnabled());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("User Data Directory"));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(m_helpTopics.back(), 0);
    }

    void okFollowsTheLengthAndStoresTheChoice()
    {
        auto userData = UserData(true);
        UserDataDirDlg dialog(*userData, m_language, {});
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("directoryEdit"));
        QVERIFY(!edit->isReadOnly());
        edit->setText(QStringLiteral("/a/b"));
        QVERIFY(!Child(dialog, "okButton")->isEnabled());
        edit->setText(QStringLiteral("/a/bc"));
        QVERIFY(Child(dialog, "okButton")->isEnabled());

        const QString chosen = QString::fromStdString((Root() / "chosen").string());
        dialog.SetFolderPicker([&](QWidget*, const QString& start, const QString&) {
            return start == QStringLiteral("/") ? chosen : QString();
        });
        QTest::mouseClick(Child(dialog, "browseButton"), Qt::LeftButton);
        QCOMPARE(edit->text(), chosen);
        QTest::mouseClick(Child(dialog, "okButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(userData->Current(), chosen.toStdString());
        QCOMPARE(m_store.ReadString("User Data Directory", ""),
                 std::optional<std::string>(chosen.toStdString()));
    }

    void refusedChoiceKeepsTheDialogOpen()
    {
        auto userData = UserData(true);
        UserDataDirDlg dialog(*userData, m_language, {});
        dialog.show();
        dialog.findChild<QLineEdit*>(QStringLiteral("directoryEdit"))
            ->setText(QString::fromStdString((Root() / "program" / "data").string()));
        SeenBox seen;
        AnswerNextBox(seen, kOk);
        QTest::mouseClick(Child(dialog, "okButton"), Qt::LeftButton);
        QVERIFY(seen.text.startsWith(QStringLiteral("For data security consideration")));
        QVERIFY(dialog.isVisible());
        QVERIFY(userData->Current().empty());
    }

    void optionsMovesTheDirectoryAndOffersTheCopy()
    {
        auto userData = UserData(true);
        std::string error;
        const fs::path old = Root() / "old";
        QVERIFY(userData->SetUserDataDirectory(old.string(), true, error));
        std::ofstream(old / "cmf.ini") << "[x]\r\n";

        {
            OptionsDlg same(*userData, m_language, {});
            same.show();
            auto* edit = same.findChild<QLineEdit*>(QStringLiteral("directoryEdit"));
            QCOMPARE(edit->text().toStdString(), old.string());
            QTest::mouseClick(Child(same, "okButton"), Qt::LeftButton);  // no prompt at all
            QCOMPARE(same.result(), int(QDialog::Accepted));
        }

        OptionsDlg dialog(*userData, m_language, {});
        dialog.show();
        const fs::path moved = Root() / "moved";
        dialog.findChild<QLineEdit*>(QStringLiteral("directoryEdit"))->setText(QString::fromStdString(moved.string()));
        SeenBox seen;
        AnswerNextBox(seen, kYes);  // Yes, copy
        QTest::mouseClick(Child(dialog, "okButton"), Qt::LeftButton);
        QVERIFY(seen.text.startsWith(QStringLiteral("Will you copy the data under the original User Data Directory")));
        QCOMPARE(userData->Current(), moved.string());
        QVERIFY(fs::exists(moved / "cmf.ini"));
    }
};

TAVLIX_QTEST_MAIN(SettingsDialogsTest)
#include "SettingsDialogsTest.moc"
