#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPainter>
#include <QRadioButton>

#include <filesystem>
#include <fstream>

#include "MainWindowHarness.h"
#include "media/CBackgroundSettings.h"

using namespace tavlix;
using namespace tavlix::testing;

namespace {

const QString kUiMenu = QStringLiteral("&UI");
const QString kBackgroundEntry = QStringLiteral("&Background...");
const QColor kPink(255, 128, 192);  // 0xC080FF, the colour of a fresh start
const QColor kGrey(192, 192, 192);  // 0xC0C0C0, after Reset
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 160, 0);
const QColor kYellow(255, 255, 0);

// A bitmap of size whose left half is one colour and right half another, so that a
// pixel tells which part of the image, if any, lies under it.
void WriteHalves(const QString& file, QSize size, const QColor& left, const QColor& right)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(right);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), left);
    QVERIFY(image.save(file, "BMP"));
}

// The header of an uncompressed 24-bit bitmap of that size, and as many bytes after it as
// its pixels take, all zero and none of them on the disk. The header's fields are
// little-endian, as this machine's.
void WriteEmptyBitmap(const QString& file, std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t pixels = (width * 3 + 3) / 4 * 4 * height;
    const std::uint32_t fields[] = {54 + pixels, 0, 54, 40, width, height, 1 | 24 << 16, 0, pixels, 0, 0, 0, 0};
    std::ofstream out(file.toStdString(), std::ios::binary);
    out.write("BM", 2).write(reinterpret_cast<const char*>(fields), sizeof fields);
    out.close();
    std::filesystem::resize_file(file.toStdString(), 54 + pixels);
}

}  // namespace

// The background of the main window: the Background dialog from the UI menu, the
// window's pixels after each choice, the settings it leaves, and files dropped on it.
class BackgroundTest : public QObject, protected MainWindowHarness {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(ResetHarness());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("program/images"))));
        m_programDirectory = m_dir.filePath(QStringLiteral("program")).toStdString();
        WriteHalves(ShippedImage(), {64, 48}, kRed, kBlue);
        m_pickOpenFile = {};
        m_pickColor = {};
        m_window = MakeWindow();
        // Almost as large as the window: see browseLoadsGoodBitmapsAndTheRadiosRedraw.
        const QSize size = m_window->size() - QSize(40, 40);
        WriteHalves(Picture(), size, kGreen, kYellow);
    }

    void cleanup() { m_window.reset(); }

    // A fresh start shows the stretched shipped image. Off leaves colour and Reset usable
    // and shows the pink under it; on again, the forgotten file is gone and no last image
    // path stands in.
    void theCheckBoxSwitchesTheImageAndTheControlsThatGoWithIt()
    {
        QCOMPARE(Corners(), (Colours{kRed, kBlue}));
        RunDialog([&](QDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Background"));
            auto* check = Child<QCheckBox>(dialog, "enableImageCheck");
            QCOMPARE(check->text(), QStringLiteral("&Enable background image"));
            QCOMPARE(Child<QLabel>(dialog, "imagePathLabel")->text(), QStringLiteral("Image file &path:"));
            QCOMPARE(Child<QPushButton>(dialog, "colorButton")->text(), QStringLiteral("Select a &Background Color"));
            QVERIFY(check->isChecked());
            QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), ShippedImage());
            QVERIFY(Child<QRadioButton>(dialog, "stretchRadio")->isChecked());
            for (const bool on : {false, true}) {
                ClickBox(check);
                QCOMPARE(check->isChecked(), on);
                for (const char* name : {"imagePathLabel", "imagePathEdit", "browseButton", "displayLabel",
                                         "tileRadio", "centerRadio", "stretchRadio"})
                    QVERIFY2(Child<QWidget>(dialog, name)->isEnabled() == on, name);
                QVERIFY(Child<QWidget>(dialog, "colorButton")->isEnabled());
                QVERIFY(Child<QWidget>(dialog, "resetButton")->isEnabled());
                QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), QString());
                QCOMPARE(Pixel(BottomRight()), kPink);
            }
        });
        m_window.reset();
        QCOMPARE(m_store.ReadInt("BackGround", "EnableImage"), std::optional<std::uint32_t>(1));
        QCOMPARE(m_store.ReadString("BackGround", "FileName"), std::optional<std::string>(""));
    }

    // A bitmap with a broken header, a text file and a bitmap cut short keep the image and
    // bring no hint; the first good one explains dragging, and the hint's check box keeps it
    // from coming back.
    void browseLoadsGoodBitmapsAndTheRadiosRedraw()
    {
        const QString broken = m_dir.filePath(QStringLiteral("broken.bmp"));
        const QString notes = m_dir.filePath(QStringLiteral("notes.bmp"));
        const QString cut = m_dir.filePath(QStringLiteral("cut.bmp"));
        std::ofstream(broken.toStdString(), std::ios::binary) << "BM\x36\x00\x0c\x00" << std::string(40, '\xff');
        std::ofstream(notes.toStdString()) << "not a picture at all\n";
        WriteHalves(cut, {120, 90}, kGreen, kYellow);
        std::filesystem::resize_file(cut.toStdString(), std::filesystem::file_size(cut.toStdString()) * 2 / 3);
        QStringList choices{broken, notes, cut, Picture(), Picture()};
        QStringList asked;
        m_pickOpenFile = [&](QWidget*, const QString& start, const QString& title, const QString& filter) {
            asked << start << title << filter;
            return choices.takeFirst();
        };
        Reopen();
        SeenBox hint;
        bool hintHadCheckBox = false;
        RunDialog([&](QDialog* dialog) {
            AnswerNextBox(hint, kOk, [&](CBMMessageBox* box) {
                auto* again = box->findChild<QCheckBox*>(QStringLiteral("checkBox"));
                hintHadCheckBox = again->isVisible() && again->isChecked();
                again->click();
            });
            for (int i = 0; i < 3; ++i) {
                QTest::mouseClick(Child<QWidget>(dialog, "browseButton"), Qt::LeftButton);
                QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), ShippedImage());
                QCOMPARE(Corners(), (Colours{kRed, kBlue}));
                QVERIFY(!hint.shown);
            }
            QTest::mouseClick(Child<QWidget>(dialog, "browseButton"), Qt::LeftButton);
            QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), Picture());
            QCOMPARE(Corners(), (Colours{kGreen, kYellow}));
            // Centred, a 20-pixel frame of colour; tiled, the second row and column
            // reach into the corner.
            QTest::mouseClick(Child<QRadioButton>(dialog, "centerRadio"), Qt::LeftButton);
            QCOMPARE(Pixel(BottomRight()), kPink);
            QCOMPARE(Pixel(InLabel()), kYellow);
            QTest::mouseClick(Child<QRadioButton>(dialog, "tileRadio"), Qt::LeftButton);
            QCOMPARE(Pixel(BottomRight()), kGreen);
            QTest::mouseClick(Child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(asked.mid(0, 3), (QStringList{ShippedImage(), QStringLiteral("Select a Background Image"),
                                               QStringLiteral("Bitmap File (*.bmp)")}));
        QCOMPARE(hint.text, QStringLiteral("You can also drag a bitmap file directly from Windows Explorer to "
                                           "Tavlix. The dragged bitmap will become the background image of "
                                           "Tavlix instantly under the current display mode."));
        QVERIFY(hintHadCheckBox);

        bool again = false;
        RunDialog([&](QDialog* dialog) {
            QVERIFY(Child<QRadioButton>(dialog, "tileRadio")->isChecked());
            QObject watch;  // no box may come while Browse runs
            OnNextDialog(
                &watch, [&](QDialog*) { again = true; },
                [](QDialog* box) { return qobject_cast<CBMMessageBox*>(box) != nullptr; });
            QTest::mouseClick(Child<QWidget>(dialog, "browseButton"), Qt::LeftButton);
        });
        QVERIFY(!again);
        m_window.reset();
        QCOMPARE(m_store.ReadInt("BackGround", "DisplayMode"), std::optional<std::uint32_t>(0));
        QCOMPARE(m_store.ReadString("BackGround", "FileName"), std::optional<std::string>(Picture().toStdString()));
        QCOMPARE(m_store.ReadInt("BackGround", "PromptDrag"), std::optional<std::uint32_t>(0));
    }

    // A colour chosen, then a choice cancelled; Reset brings back the shipped image over
    // grey, or no image at all without it.
    void colourAndResetActAtOnce()
    {
        QList<QColor> offered;
        QList<QColor> answers{kGreen, QColor()};
        m_pickColor = [&](QWidget*, const QColor& initial) {
            offered << initial;
            return answers.takeFirst();
        };
        Reopen();
        RunDialog([&](QDialog* dialog) {
            QTest::mouseClick(Child<QRadioButton>(dialog, "centerRadio"), Qt::LeftButton);
            for (int i = 0; i < 2; ++i) {
                QTest::mouseClick(Child<QPushButton>(dialog, "colorButton"), Qt::LeftButton);
                QCOMPARE(Pixel(BottomRight()), kGreen);
            }
            ClickBox(Child<QCheckBox>(dialog, "enableImageCheck"));

            QTest::mouseClick(Child<QPushButton>(dialog, "resetButton"), Qt::LeftButton);
            QVERIFY(Child<QCheckBox>(dialog, "enableImageCheck")->isChecked());
            QVERIFY(Child<QWidget>(dialog, "browseButton")->isEnabled());
            QVERIFY(Child<QRadioButton>(dialog, "stretchRadio")->isChecked());
            QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), ShippedImage());
            QCOMPARE(Pixel(BottomRight()), kBlue);
            QTest::mouseClick(Child<QRadioButton>(dialog, "centerRadio"), Qt::LeftButton);
            QCOMPARE(Pixel(BottomRight()), kGrey);

            QVERIFY(QFile::remove(ShippedImage()));
            QTest::mouseClick(Child<QPushButton>(dialog, "resetButton"), Qt::LeftButton);
            QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), QString());
            QCOMPARE(Pixel(BottomLeft()), kGrey);
        });
        QCOMPARE(offered, (QList<QColor>{kPink, kGreen}));
        m_window.reset();
        QCOMPARE(m_store.ReadInt("BackGround", "BkColor"), std::optional<std::uint32_t>(0xC0C0C0));
        QCOMPARE(m_store.ReadInt("BackGround", "DisplayMode"), std::optional<std::uint32_t>(2));
    }

    // With the image off: a drop with no loadable bitmap goes to the music; a bitmap
    // among the files wins over a folder and a tune, and switches the image on.
    void droppedFilesGoToTheImageOrTheMusic()
    {
        m_window.reset();
        m_store.WriteInt("BackGround", "EnableImage", 0);
        m_window = MakeWindow();
        const QString broken = m_dir.filePath(QStringLiteral("broken.bmp"));
        std::ofstream(broken.toStdString()) << "BM and nothing more";
        const QString tune = m_dir.filePath(QStringLiteral("tune.mid"));
        std::ofstream(tune.toStdString()) << "MThd";
        QVERIFY(Drop({broken, QStringLiteral("  ") + tune, m_dir.filePath(QStringLiteral("missing.bmp"))}));
        QCOMPARE(m_audio.openSequence, std::filesystem::path(tune.toStdString()));
        QCOMPARE(Pixel(BottomRight()), kPink);

        m_audio.openSequence.clear();
        QVERIFY(Drop({m_dir.filePath(QStringLiteral("program")), Picture(), tune}));
        QCOMPARE(Corners(), (Colours{kGreen, kYellow}));
        QVERIFY(m_audio.openSequence.empty());
        m_window.reset();
        QCOMPARE(m_store.ReadInt("BackGround", "EnableImage"), std::optional<std::uint32_t>(1));
        QCOMPARE(m_store.ReadString("BackGround", "FileName"), std::optional<std::string>(Picture().toStdString()));
    }

    // Beyond what an image may take in memory: chosen or dropped, the picture stays and the
    // player learns why.
    void aPictureTooLargeToShowIsRefusedWithItsReason()
    {
        const QString huge = m_dir.filePath(QStringLiteral("huge.bmp"));
        WriteEmptyBitmap(huge, 6000, 6000);
        const QString why = QStringLiteral("The picture \"%1\" is 6000 \u00D7 6000 pixels, too large for this program "
                                           "to show. Please choose a smaller picture.").arg(huge);
        m_pickOpenFile = [&](QWidget*, const QString&, const QString&, const QString&) { return huge; };
        Reopen();
        SeenBox chosen;
        RunDialog([&](QDialog* dialog) {
            AnswerNextBox(chosen, kOk);
            QTest::mouseClick(Child<QWidget>(dialog, "browseButton"), Qt::LeftButton);
            QCOMPARE(Child<QLineEdit>(dialog, "imagePathEdit")->text(), ShippedImage());
        });
        QCOMPARE(chosen.text, why);
        SeenBox dropped;
        AnswerNextBox(dropped, kOk);
        QVERIFY(Drop({huge}));
        QTRY_COMPARE(dropped.text, why);
        QCOMPARE(Corners(), (Colours{kRed, kBlue}));
    }

    // The text boxes cover much of the window: files dropped on them are the window's, while
    // text dropped on them goes in.
    void filesDroppedOnTheTextBoxesGoToTheWindow()
    {
        auto* answers = Find<QPlainTextEdit>("answerBox");
        for (QWidget* box : {answers->viewport(), static_cast<QWidget*>(Find<QLineEdit>("questionBox1"))}) {
            QVERIFY(Drop({ShippedImage()}));  // back to the shipped picture
            QVERIFY(Drop({Picture()}, box));
            QCOMPARE(Corners(), (Colours{kGreen, kYellow}));
        }
        QCOMPARE(answers->toPlainText(), QString());
        QCOMPARE(Find<QLineEdit>("questionBox1")->text(), QString());

        QMimeData text;
        text.setText(QStringLiteral("8/(3-8/3)"));
        QVERIFY(Drop(text, answers->viewport()));
        QCOMPARE(answers->toPlainText(), QStringLiteral("8/(3-8/3)"));
    }

private:
    // A new window over the same settings, with the choosers set since.
    void Reopen()
    {
        m_window.reset();
        m_window = MakeWindow();
    }

    QString ShippedImage() const { return m_dir.filePath(QStringLiteral("program/images/back.bmp")); }
    QString Picture() const { return m_dir.filePath(QStringLiteral("picture.bmp")); }

    // Points of the window where no control covers the background: the corners of the
    // bottom margin, and the empty right part of the comments label.
    QPoint BottomLeft() const { return {2, m_window->height() - 3}; }
    QPoint BottomRight() const { return {m_window->width() - 3, m_window->height() - 3}; }
    QPoint InLabel() const
    {
        auto* label = Find<QLabel>("commentsLabel");
        return {m_window->width() * 3 / 4, label->mapTo(m_window.get(), label->rect().center()).y()};
    }
    QColor Pixel(QPoint at) const { return m_window->grab().toImage().pixelColor(at); }
    using Colours = std::pair<QColor, QColor>;
    Colours Corners() const { return {Pixel(BottomLeft()), Pixel(BottomRight())}; }

    // On the box itself: the check box spans the dialog, its text only part of it.
    static void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

    template <typename T>
    static T* Child(QDialog* dialog, const char* name)
    {
        T* child = dialog->findChild<T*>(QLatin1String(name));
        if (!child)
            qFatal("no %s in the dialog", name);
        return child;
    }

    // Opens the Background dialog from the UI menu and hands it to use.
    void RunDialog(const std::function<void(QDialog*)>& use)
    {
        bool opened = false;
        OnNextDialog(
            m_window.get(),
            [&](QDialog* dialog) {
                opened = true;
                use(dialog);
            },
            [](QDialog* dialog) { return dialog->objectName() == QLatin1String("backgroundDlg"); });
        QVERIFY(ClickMenuEntry(kUiMenu, kBackgroundEntry));
        QVERIFY(opened);
    }

    // Drags local files over a widget of the window (the window itself without one) and
    // drops them, as the file manager does; false when the window refused them.
    bool Drop(const QStringList& files, QWidget* on = nullptr)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& file : files)
            urls << QUrl::fromLocalFile(file);
        mime.setUrls(urls);
        return Drop(mime, on);
    }

    // Drags over the middle of the widget and drops there, as the window system delivers it:
    // the drag goes to the widget, or on to the first around it that takes it.
    bool Drop(const QMimeData& mime, QWidget* on)
    {
        QWidget* target = on ? on : m_window.get();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
};

TAVLIX_QTEST_MAIN(BackgroundTest)
#include "BackgroundTest.moc"
