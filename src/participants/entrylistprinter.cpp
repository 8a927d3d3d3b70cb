#include "participants/entrylistprinter.h"

#include <functional>

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>

#include "base/atomicfile.h"
#include "base/error.h"
#include "base/fonts.h"
#include "base/messages.h"
#include "base/qtext.h"

namespace kivrel {

namespace {

QPageLayout A4Layout() {
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kMarginLeftMm, kMarginTopMm, kMarginRightMm, kMarginBottomMm),
                       QPageLayout::Millimeter);
    // The layout places everything from the paper's corner itself.
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

// The time of day as the fraction of the day number.
double DayNumberNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    const int seconds = now.time().msecsSinceStartOfDay() / 1000;
    return static_cast<double>(days) + seconds / 86400.0;
}

QFont FontOf(const tPrintFont& f) {
    const QString family = ToQt(f.Family);
    QFont font = family == QLatin1String("Arial") ? ArialFont() : QFont(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(f.Points);
    font.setBold(f.Bold);
    return font;
}

Qt::Alignment AlignmentOf(tPrintAlign align) {
    switch (align) {
        case tPrintAlign::Right:
            return Qt::AlignRight;
        case tPrintAlign::Center:
            return Qt::AlignHCenter;
        case tPrintAlign::Left:
            break;
    }
    return Qt::AlignLeft;
}

void DrawPage(QPainter& painter, const tPrintPage& page, double unitsPerMm) {
    for (const tPrintLine& line : page.Lines) {
        QPen pen(Qt::black);
        pen.setWidthF(line.PenWidth * kPenUnitMm * unitsPerMm);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(QLineF(line.X1 * unitsPerMm, line.Y1 * unitsPerMm, line.X2 * unitsPerMm,
                                line.Y2 * unitsPerMm));
    }
    painter.setPen(Qt::black);
    for (const tPrintText& text : page.Texts) {
        painter.setFont(FontOf(text.Font));
        const QRectF box(text.Left * unitsPerMm, text.Top * unitsPerMm, text.Width * unitsPerMm,
                         text.Height * unitsPerMm);
        const QString shown = QFontMetricsF(painter.font(), painter.device())
                                  .elidedText(ToQt(text.Text), Qt::ElideRight, box.width());
        painter.drawText(box, AlignmentOf(text.Align) | Qt::AlignTop | Qt::TextSingleLine, shown);
    }
}

// Produces the pages on device, which the caller has set up for A4. onFailure is the error
// text; abortJob withdraws an open job.
void Render(QPagedPaintDevice& device, const std::vector<tPrintPage>& pages, QWidget* parent,
            const std::string& onFailure, const std::function<void()>& abortJob) {
    const int count = static_cast<int>(pages.size());
    QProgressDialog progress(parent);
    progress.setWindowTitle(QStringLiteral("Drucken"));
    progress.setCancelButton(nullptr);
    progress.setRange(0, count);
    progress.setMinimumDuration(0);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.show();

    QPainter painter;
    if (!painter.begin(&device))
        throw KivrelError(onFailure);
    const double unitsPerMm = device.logicalDpiX() / 25.4;
    try {
        for (int i = 0; i < count; ++i) {
            progress.setLabelText(
                QStringLiteral("Seite %1 von %2 wird gedruckt …").arg(i + 1).arg(count));
            progress.setValue(i);
            QCoreApplication::processEvents();
            if (i > 0 && !device.newPage())
                throw KivrelError(onFailure);
            DrawPage(painter, pages[static_cast<std::size_t>(i)], unitsPerMm);
        }
    } catch (...) {
        // While the job is still open, so that the painter's end does not send half a list.
        abortJob();
        throw;
    }
    if (!painter.end())
        throw KivrelError(onFailure);
    progress.setValue(count);
}

// A PDF is made in memory and then written in one go, so that a failed print never leaves
// half a file or destroys the one that was there.
void PrintToPdf(const std::vector<tPrintPage>& pages, const QPrinter& printer, QWidget* parent) {
    const tPath path = PathFromQt(printer.outputFileName());
    const std::string failure = "nach " + PathText(path) + " kann nicht geschrieben werden";
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(A4Layout());
        writer.setResolution(printer.resolution());
        writer.setTitle(QStringLiteral("Meldung"));
        writer.setCreator(QStringLiteral("Kivrel"));
        Render(writer, pages, parent, failure, [] {});
    }
    if (!WriteFileAtomically(path, buffer.data().toStdString()))
        throw KivrelError(failure);
}

void PrintToPrinter(const std::vector<tPrintPage>& pages, QPrinter& printer, QWidget* parent) {
    printer.setFullPage(true);
    printer.setPageLayout(A4Layout());
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setPaperSource(QPrinter::Upper);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setDocName(QStringLiteral("Meldung"));
    const std::string failure =
        "Auf dem Drucker " + FromQt(printer.printerName()) + " kann nicht gedruckt werden";
    Render(printer, pages, parent, failure, [&printer] { printer.abort(); });
    if (printer.printerState() == QPrinter::Error)
        throw KivrelError(failure);
}

}  // namespace

bool PrinterUsable(const QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return printer.isValid();
}

void PrintPages(const std::vector<tPrintPage>& pages, QPrinter& printer, QWidget* parent) {
    if (!PrinterUsable(printer)) {
        ShowWarning("Es ist kein Drucker eingerichtet.");
        return;
    }
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        PrintToPdf(pages, printer, parent);
    } else {
        PrintToPrinter(pages, printer, parent);
    }
}

void PrintEntryList(const tMeldung& meldung, const tUsedAgeGroups& printGroups, QPrinter& printer,
                    QWidget* parent) {
    PrintPages(LayOutEntryList(meldung, printGroups, DayNumberNow()), printer, parent);
}

void ShowPrinterSetup(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Druckereinstellungen"));
    // The list always prints whole, so there is no range to choose.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile);
    // Qt's own dialog says "Drucken", but setting up prints nothing yet.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    dialog.exec();
}

}  // namespace kivrel
