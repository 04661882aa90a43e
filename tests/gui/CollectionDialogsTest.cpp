#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "collections/Collection.h"
#include "collections/CollectionContext.h"
#include "collections/CollectionDlg.h"
#include "collections/TextExportDlg.h"
#include "settings/UserDataDirectory.h"
#include "settings/Profile.h"

using namespace tavlix;
using namespace tavlix::testing;

class CollectionDialogsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    LanguageState m_language = MakeLanguage();
    CachedStrings m_cache;
    InMemoryProfileStore m_settings;
    InMemoryProfileStore m_editionStore;
    std::unique_ptr<Profile> m_profile;
    std::unique_ptr<UserDataDirectory> m_userData;
    std::unique_ptr<CollectionContext> m_context;
    QString m_pickedFile;

    static QPushButton* Button(QWidget* dialog, const char* name)
    {
        return dialog->findChild<QPushButton*>(QLatin1String(name));
    }

    std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

private slots:
    void init()
    {
        m_cache.Reload(m_language);
        SetMessageBoxContext({&m_language, &m_cache, {}});
        m_settings = InMemoryProfileStore();
        m_profile = std::make_unique<Profile>(m_settings);
        m_userData = std::make_unique<UserDataDirectory>(m_editionStore, m_language, "/nonexistent-program",
                                                         m_dir.path().toStdString(), true);
        std::string error;
        QVERIFY(m_userData->SetUserDataDirectory((m_dir.path() + QStringLiteral("/data")).toStdString(), true, error));
        m_context = std::make_unique<CollectionContext>(CollectionContext{
            m_language, *m_profile, *m_userData, {},
            [this](QWidget*, const QString&, const QString&, const QString&) { return m_pickedFile; }});
        CBMUtilities::SetCurrentMaximum(13);
    }

    void listWindowAddModifyDelete()
    {
        Collection collection(false);
        collection.Items() = {{"1 2 3 4", {}, "easy"}, {"3 3 8 8", {}, "hard"}};
        m_settings.WriteInt("FM", "Show Solution", 1);
        {
            CollectionDlg dialog(collection, *m_context);
            dialog.show();
            auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("itemList"));
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Trouble Makers"));
            QCOMPARE(list->topLevelItemCount(), 2);
            QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("2"));
            QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("3 3 8 8"));
            QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("hard"));
            QVERIFY(Button(&dialog, "modifyButton")->isEnabled());  // the first item is selected
            QCOMPARE(dialog.findChild<QPlainTextEdit*>(QStringLiteral("detailsPane"))->toPlainText(), QStringLiteral("1 2 3 4\neasy"));
            auto* solutions = dialog.findChild<QPlainTextEdit*>(QStringLiteral("solutionsPane"));
            QVERIFY(solutions->isVisible());
            const int wide = dialog.width();
            dialog.findChild<QCheckBox*>(QStringLiteral("showSolutionsCheck"))->click();
            QVERIFY(!solutions->isVisible());
            QVERIFY(dialog.width() < wide);

            // Add: the item dialog sorts the question and says so.
            OnNextDialog(this, [](QDialog* item) {
                QCOMPARE(item->windowTitle(), QStringLiteral("Edit Item in \"Trouble Makers\""));
                QTest::keyClicks(item->findChild<QLineEdit*>(QStringLiteral("questionEdit")), QStringLiteral("5 3 2 4"));
                QTest::keyClicks(item->findChild<QLineEdit*>(QStringLiteral("noteEdit")), QStringLiteral("  spaced, with comma  "));
                QVERIFY(item->findChild<QPlainTextEdit*>(QStringLiteral("solutionsPane"))->toPlainText().startsWith(QStringLiteral("A1: ")));
                item->findChild<QCheckBox*>(QStringLiteral("advancedCheck"))->click();
                SeenBox* notice = new SeenBox;
                AnswerNextBox(*notice, kOk, [notice](CBMMessageBox*) {
                    QCOMPARE(notice->text, QStringLiteral("Your question is reordered and saved as:\n\n\t2 3 4 5"));
                    delete notice;
                });
                Button(item, "okButton")->click();
            });
            Button(&dialog, "addButton")->click();
            QCOMPARE(collection.Items().size(), std::size_t(3));
            QCOMPARE(list->currentItem()->text(1), QStringLiteral("2 3 4 5"));
            QCOMPARE(collection.Items()[std::size_t(collection.Find("2 3 4 5"))].note, std::string("spaced, with comma"));
            QVERIFY(dialog.findChild<QCheckBox*>(QStringLiteral("advancedCheck"))->isChecked());
            QVERIFY(dialog.Changed());

            // Modify by double click: a duplicate is refused and the dialog stays.
            list->setCurrentItem(list->topLevelItem(2));
            OnNextDialog(this, [](QDialog* item) {
                auto* question = item->findChild<QLineEdit*>(QStringLiteral("questionEdit"));
                QCOMPARE(question->text(), QStringLiteral("3 3 8 8"));
                question->setText(QStringLiteral("4 3 2 1"));
                SeenBox seen;
                AnswerNextBox(seen, kOk);
                Button(item, "okButton")->click();
                QCOMPARE(seen.text, QStringLiteral("The question already exists in this list. There is no need to add it again."));
                QVERIFY(item->isVisible());
                question->setText(QStringLiteral("3 3 8 8"));
                item->findChild<QLineEdit*>(QStringLiteral("noteEdit"))->setText(QStringLiteral("harder"));
                Button(item, "okButton")->click();
            });
            emit list->itemDoubleClicked(list->topLevelItem(2), 0);
            QCOMPARE(collection.Items()[2].note, std::string("harder"));

            // Delete the last item: the one before it is selected.
            SeenBox confirm;
            AnswerNextBox(confirm, kYes);  // Yes
            Button(&dialog, "deleteButton")->click();
            QVERIFY(confirm.text.startsWith(QStringLiteral("You are trying to delete follow question:\n\n\t3 3 8 8")));
            QCOMPARE(collection.Items().size(), std::size_t(2));
            QCOMPARE(list->currentItem()->text(1), QStringLiteral("2 3 4 5"));
        }
        QCOMPARE(m_settings.ReadInt("FM", "Show Solution"), 0u);
        QCOMPARE(m_settings.ReadInt("FM", "Enable Power and Root"), 1u);
        Collection reloaded(false);
        reloaded.Load(m_userData->TroubleMakersFile());
        QCOMPARE(reloaded.Questions(), (StringArray{"1 2 3 4", "2 3 4 5"}));
    }

    void emptyListDisablesItsButtons()
    {
        Collection collection(true);
        CollectionDlg dialog(collection, *m_context);
        QVERIFY(!Button(&dialog, "deleteButton")->isEnabled());
        QVERIFY(!Button(&dialog, "modifyButton")->isEnabled());
        QVERIFY(!Button(&dialog, "exportButton")->isEnabled());
        QVERIFY(Button(&dialog, "addButton")->isEnabled());
    }

    void exportWritesTheFileAndAsksBeforeOverwriting()
    {
        Collection collection(true);
        collection.Items() = {{"3 3 8 8", {}, "note"}};
        const std::filesystem::path target = m_dir.path().toStdString() + "/export/list";
        m_pickedFile = QString::fromStdString(target.string());
        {
            TextExportDlg dialog(collection, *m_context);
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("titleEdit"))->text(), QStringLiteral("My Favorites"));
            QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("pathEdit"))->text().endsWith(QStringLiteral("/data/MFSaved.txt")));
            dialog.findChild<QWidget*>(QStringLiteral("browseButton"))->setFocus();
            QTest::mouseClick(dialog.findChild<QWidget*>(QStringLiteral("browseButton")), Qt::LeftButton);
            QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("pathEdit"))->text(), m_pickedFile + QStringLiteral(".txt"));
            dialog.findChild<QCheckBox*>(QStringLiteral("answersCheck"))->setChecked(false);
            Button(&dialog, "okButton")->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(ReadFile(target.string() + ".txt"), std::string("\t\tMy Favorites\r\n\r\nQ1: 3 3 8 8\r\nNote: \r\nnote"));
        QCOMPARE(m_settings.ReadInt("File", "Last Saved Answer - My Favorites"), 0u);

        TextExportDlg again(collection, *m_context);
        QCOMPARE(again.findChild<QLineEdit*>(QStringLiteral("pathEdit"))->text(), m_pickedFile + QStringLiteral(".txt"));
        QVERIFY(!again.findChild<QCheckBox*>(QStringLiteral("answersCheck"))->isChecked());
        SeenBox overwrite;
        AnswerNextBox(overwrite, kNo);  // No
        Button(&again, "okButton")->click();
        QVERIFY(overwrite.text.startsWith(QStringLiteral("You are about to overwrite file")));
        QVERIFY(again.result() != QDialog::Accepted);

        // The same file typed as an address: asked about too, under its plain path.
        const std::string written = ReadFile(target.string() + ".txt");
        auto* path = again.findChild<QLineEdit*>(QStringLiteral("pathEdit"));
        path->clear();
        QTest::keyClicks(path, QStringLiteral("file://") + m_pickedFile + QStringLiteral(".txt"));
        SeenBox asked;
        AnswerNextBox(asked, kNo);  // No
        Button(&again, "okButton")->click();
        QVERIFY(asked.shown);
        QVERIFY(asked.text.contains(m_pickedFile + QStringLiteral(".txt")));
        QVERIFY(!asked.text.contains(QStringLiteral("file://")));
        QCOMPARE(ReadFile(target.string() + ".txt"), written);
        SeenBox yes;
        AnswerNextBox(yes, kYes);  // Yes
        Button(&again, "okButton")->click();
        QVERIFY(yes.shown);
        QCOMPARE(again.result(), int(QDialog::Accepted));
    }
};

TAVLIX_QTEST_MAIN(CollectionDialogsTest)
#include "CollectionDialogsTest.moc"
