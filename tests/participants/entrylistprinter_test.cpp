#include "participants/entrylistprinter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <filesystem>
#ifdef _WIN32
#include <windows.h>
#endif

#include "base/error.h"
#include "base/messages.h"
#include "entrylist_fixture.h"
#include "support/tempdir.h"

namespace kivrel {
namespace {

using test::PrintedAt;
using test::Used;

// A printer that prints into the PDF file at path, as the printer set-up leaves it.
class PdfPrinter : public QPrinter {
public:
    explicit PdfPrinter(const std::string& path) : QPrinter(QPrinter::HighResolution) {
        setOutputFormat(QPrinter::PdfFormat);
        setOutputFileName(QString::fromStdString(path));
    }
};

// The text of each page as pdftotext lays it out, with runs of blanks made one.
std::vector<std::string> PdfPages(const std::string& path) {
    QProcess pdftotext;
#ifdef _WIN32
    // Under Wine the Linux pdftotext reads the PDF through its Unix path and writes a file.
    using UnixName = char* (*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) {
        ADD_FAILURE() << "not under Wine: no pdftotext";
        return {};
    }
    const std::wstring text = QString::fromStdString(path + ".txt").toStdWString();
    // Wine's start.exe cannot wait for a Unix program: the text appears whole by a rename.
    pdftotext.start(
        QStringLiteral("start.exe"),
        {QStringLiteral("/unix"), QStringLiteral("/bin/sh"), QStringLiteral("-c"),
         QStringLiteral("pdftotext -layout \"$0\" \"$1.part\" && mv \"$1.part\" \"$1\""),
         QString::fromUtf8(unixName(QString::fromStdString(path).toStdWString().c_str())),
         QString::fromUtf8(unixName(text.c_str()))});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    for (int waited = 0; waited < 300 && !QFile::exists(QString::fromStdWString(text)); ++waited)
        QThread::msleep(100);
    QFile layout(QString::fromStdWString(text));
    EXPECT_TRUE(layout.open(QIODevice::ReadOnly));
    QStringList pages = QString::fromUtf8(layout.readAll()).split(QChar('\f'));
#else
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QString::fromStdString(path), QStringLiteral("-")});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QChar('\f'));
#endif
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    std::vector<std::string> out;
    for (const QString& page : pages)
        out.push_back(page.simplified().toStdString());
    return out;
}

std::string Simplified(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252)).simplified().toStdString();
}

const tUsedAgeGroups kNoGroups;

TEST(EntryListPrinter, PdfHoldsTheTextsOnTheLayoutsPagesInOrder) {
    test::TempDir dir;
    const std::string path = dir.file("meldung.pdf");
    const tMeldung m = test::ThreePageEntry();
    const auto layout = LayOutEntryList(m, Used(m, {"U12 (m)", "U14 (m)", "U16 (m)"}), PrintedAt());
    PdfPrinter printer(path);

    QString progressLabel;
    QTimer::singleShot(0, [&] {
        if (auto* progress = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()))
            progressLabel = progress->windowTitle() + " / " + progress->labelText();
    });
    PrintPages(layout, printer, nullptr);
    EXPECT_EQ(progressLabel.toStdString(), "Drucken / Seite 1 von 3 wird gedruckt …");

    const auto pages = PdfPages(path);
    ASSERT_EQ(pages.size(), layout.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        // Everything is on its page; what stands in the first column comes in its order.
        std::size_t from = 0;
        for (const tPrintText& text : layout[p].Texts) {
            const std::string wanted = Simplified(text.Text);
            if (wanted.empty())
                continue;
            const std::size_t at = pages[p].find(wanted, text.Left == 10 ? from : 0);
            EXPECT_NE(at, std::string::npos) << "page " << p + 1 << ": " << wanted;
            if (at != std::string::npos && text.Left == 10)
                from = at + wanted.size();
        }
        for (std::size_t other = 0; other < pages.size(); ++other) {
            const std::string number = "Seite " + std::to_string(other + 1) + " ";
            EXPECT_EQ(pages[p].find(number) != std::string::npos, other == p) << p << number;
        }
        EXPECT_EQ(pages[p].find("Eva Schulz") != std::string::npos, p == 0);
        EXPECT_EQ(pages[p].find("Gewichtsklasse") != std::string::npos, p == 0);
    }
}

TEST(EntryListPrinter, PrintEntryListStampsTheTimeAndCutsLongFields) {
    test::TempDir dir;
    const std::string path = dir.file("meldung.pdf");
    tMeldung m = test::EntryWithSender();
    m.Verein.Vereinsname = "Turn- und Sportverein Musterstadt von 1860 und Umgebung e. V.";
    m.Turnier.Bezeichnung = "Internationale Offene Meisterschaft der Jugend";
    test::AddGroup(m, "U14", "m");
    test::AddStarter(m, "Meier", "Hans", "U14 (m)", "-40", "AK");
    PdfPrinter printer(path);
    PrintEntryList(m, Used(m, {"U14 (m)"}), printer, nullptr);

    const auto pages = PdfPages(path);
    ASSERT_EQ(pages.size(), 1u);
    const std::string today =
        QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")).toStdString();
    EXPECT_NE(pages[0].find("Gedruckt " + today + " "), std::string::npos) << pages[0];
    // The header is cut short of the page number, which stays whole.
    EXPECT_NE(pages[0].find("… Seite 1"), std::string::npos) << pages[0];
    EXPECT_EQ(pages[0].find("in Augsburg"), std::string::npos);
    EXPECT_NE(pages[0].find("Hans Meier 2012 7. Kyu Allkategorie"), std::string::npos);
}

TEST(EntryListPrinter, WithoutPrinterItSaysSoAndPrintsNothing) {
    ScriptedBoxes boxes;
    const tMeldung m = test::EntryWithSender();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);  // what Qt falls back to without printers
    EXPECT_FALSE(PrinterUsable(printer));
    PrintEntryList(m, kNoGroups, printer, nullptr);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_EQ(boxes.shown()[0].text, "Es ist kein Drucker eingerichtet.");
    EXPECT_TRUE(printer.outputFileName().isEmpty());
}

TEST(EntryListPrinter, AFailedPrintReachesTheGeneralErrorBoxAndKeepsTheOldFile) {
    ScriptedBoxes boxes;
    test::TempDir dir;
    const tMeldung m = test::EntryWithSender();

    const std::string missing = dir.file("fehlt") + "/meldung.pdf";
    PdfPrinter nowhere(missing);
    EXPECT_FALSE(RunGuarded([&] { PrintEntryList(m, kNoGroups, nowhere, nullptr); }));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::GeneralError);
    EXPECT_EQ(boxes.shown()[0].text, "nach " + missing + " kann nicht geschrieben werden.");

    // A folder where the file should go is left as it is, and nothing is left beside it.
    const std::string folder = dir.file("ordner.pdf");
    std::filesystem::create_directory(folder);
    PdfPrinter onFolder(folder);
    EXPECT_THROW(PrintEntryList(m, kNoGroups, onFolder, nullptr), KivrelError);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(EntryListPrinter, PrinterSetUpChoiceHoldsForLaterPrints) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows shows its own print dialog, which has no widgets to script";
#endif
    ScriptedBoxes boxes;
    test::TempDir dir;
    const std::string chosen = dir.file("gewaehlt.pdf");
    PdfPrinter printer(dir.file("erst.pdf"));

    // Chooses a file in the dialog, then cancels or confirms.
    const auto choose = [&](const std::string& file, bool confirm) {
        QString title;
        QString okText;
        QTimer::singleShot(0, [&, file, confirm] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            if (QPushButton* ok =
                    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok))
                okText = ok->text();
            // Where CUPS has printers, the dialog opens on one of them: the user picks the
            // file, the last entry, as here, and no page goes to a real printer.
            auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers"));
            ASSERT_NE(printers, nullptr);
            printers->setCurrentIndex(printers->count() - 1);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(file));
            confirm ? dialog->accept() : dialog->reject();
        });
        ShowPrinterSetup(printer, nullptr);
        EXPECT_EQ(title.toStdString(), "Druckereinstellungen");
        EXPECT_EQ(okText.toStdString(), "OK");
    };
    choose(dir.file("verworfen.pdf"), false);
    EXPECT_EQ(printer.outputFileName().toStdString(), dir.file("erst.pdf"));
    choose(chosen, true);
    EXPECT_EQ(printer.outputFileName().toStdString(), chosen);

    tMeldung m = test::EntryWithSender();
    PrintEntryList(m, kNoGroups, printer, nullptr);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(PdfPages(chosen).size(), 1u);
}

}  // namespace
}  // namespace kivrel
