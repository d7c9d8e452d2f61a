#include "report/CReportWriter.h"

#include "protocol/CBandName.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The layout in millimetres.
constexpr double MARGIN_MM = 15.0;
constexpr double BOTTOM_MM = 20.0;
constexpr double FOOTER_MM = 10.0; // the footer's baseline above the page's bottom
constexpr double TITLE_MM = 12.0;
constexpr double HEADING_MM = 9.0;
constexpr double LABEL_MM = 38.0;
constexpr double GAP_MM = 1.5;
constexpr double ROW_MM = 4.6;
constexpr double HEADER_MM = 5.6;
constexpr double CAPTION_MM = 6.0;
constexpr double CELL_PAD_MM = 1.2;
constexpr int SETTINGS_LINES = 4;
constexpr int SOURCES_LINES = 2;

const QColor STRIPE(242, 244, 248);
const QColor RULE(90, 90, 90);

double Dots(double mm)
{
    return mm * CReportWriter::RESOLUTION / 25.4;
}

QSizeF PageMm(QPageSize::PageSizeId paper)
{
    return QPageSize(paper).size(QPageSize::Millimeter);
}

double ContentHeightMm(QPageSize::PageSizeId paper)
{
    return PageMm(paper).height() - MARGIN_MM - BOTTOM_MM;
}

QFont Font(double points, bool bold = false)
{
    QFont font = QGuiApplication::font();
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A column of a table: its share of the width and its header.
struct COLUMN
{
    double share;
    QString title;
};

// Lays the report out page by page and, given a painter, draws it. The
// first run without a painter counts the pages for the footers.
class CReportPages
{
public:
    CReportPages(const REPORT_INPUT& input, QPdfWriter& writer)
        : m_input(input)
        , m_writer(writer)
        , m_page(QPointF(0, 0), QSizeF(Dots(PageMm(input.paper).width()), Dots(PageMm(input.paper).height())))
        , m_content(m_page.adjusted(Dots(MARGIN_MM), Dots(MARGIN_MM), -Dots(MARGIN_MM), -Dots(BOTTOM_MM)))
        , m_titleFont(Font(16, true))
        , m_headingFont(Font(12, true))
        , m_bodyFont(Font(10))
        , m_labelFont(Font(10, true))
        , m_tableFont(Font(9))
        , m_tableBoldFont(Font(9, true))
        , m_headerFont(Font(8.5, true))
        , m_footerFont(Font(8))
        , m_tableMetrics(m_tableFont, &writer)
    {
    }

    int Lay(QPainter* painter, int total)
    {
        m_pPainter = painter;
        m_nTotal = total;
        m_nPage = 1;
        m_y = m_content.top();
        Title();
        TitleBlock();
        Summary();
        Events();
        Baseline();
        Alerts();
        Notes();
        Diagrams();
        Footer();
        return m_nPage;
    }

private:
    void NewPage()
    {
        Footer();
        if (m_pPainter)
            m_writer.newPage();
        ++m_nPage;
        m_y = m_content.top();
    }

    bool Fits(double dots) const { return m_y + dots <= m_content.bottom() + 0.5; }

    void Text(const QRectF& rect, const QFont& font, int flags, const QString& text, const QColor& colour = Qt::black)
    {
        if (!m_pPainter)
            return;
        m_pPainter->setFont(font);
        m_pPainter->setPen(colour);
        m_pPainter->drawText(rect, flags, text);
    }

    void Footer()
    {
        if (!m_pPainter)
            return;
        const QRectF band(m_content.left(), m_page.bottom() - Dots(FOOTER_MM) - Dots(4), m_content.width(), Dots(5));
        QString left = CReportWriter::tr("Sweep report");
        if (!m_input.site.trimmed().isEmpty())
            left += QStringLiteral(" \u2014 ") + m_input.site.simplified();
        const QFontMetricsF metrics(m_footerFont, &m_writer);
        Text(band, m_footerFont, Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(left, Qt::ElideRight, band.width() * 0.7), Qt::darkGray);
        Text(band, m_footerFont, Qt::AlignRight | Qt::AlignVCenter,
            CReportWriter::tr("Page %1 of %2").arg(m_nPage).arg(m_nTotal), Qt::darkGray);
        m_pPainter->setPen(QPen(Qt::lightGray, Dots(0.2)));
        m_pPainter->drawLine(QPointF(band.left(), band.top()), QPointF(band.right(), band.top()));
    }

    void Heading(const QString& text)
    {
        Text(QRectF(m_content.left(), m_y, m_content.width(), Dots(HEADING_MM)), m_headingFont,
            Qt::AlignLeft | Qt::AlignVCenter, text);
        m_y += Dots(HEADING_MM);
    }

    void Title()
    {
        Text(QRectF(m_content.left(), m_y, m_content.width(), Dots(TITLE_MM)), m_titleFont,
            Qt::AlignLeft | Qt::AlignTop, CReportWriter::tr("Sweep report"));
        m_y += Dots(TITLE_MM);
    }

    // A label and its value over up to maxLines lines.
    void BlockRow(const QString& label, const QString& value, int maxLines = 1)
    {
        const QFontMetricsF metrics(m_bodyFont, &m_writer);
        const double left = m_content.left() + Dots(LABEL_MM);
        const double width = m_content.right() - left;
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
        const double needed = metrics.boundingRect(QRectF(0, 0, width, 1e6), flags, value).height();
        const int lines = std::clamp(int(std::ceil(needed / metrics.lineSpacing() - 0.01)), 1, maxLines);
        const double height = lines * metrics.lineSpacing();
        if (!Fits(height))
            NewPage();
        Text(QRectF(m_content.left(), m_y, Dots(LABEL_MM), height), m_labelFont, Qt::AlignLeft | Qt::AlignTop, label);
        Text(QRectF(left, m_y, width, height), m_bodyFont, flags, value);
        m_y += height + Dots(GAP_MM);
    }

    void TitleBlock()
    {
        const REPORT_INPUT& in = m_input;
        QString range;
        if (in.from.isValid() || in.to.isValid())
            range = CReportWriter::tr("%1 to %2")
                        .arg(in.from.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                            in.to.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        BlockRow(CReportWriter::tr("Site:"), in.site);
        BlockRow(CReportWriter::tr("Operator:"), in.operatorName);
        BlockRow(CReportWriter::tr("Date range:"), range);
        BlockRow(CReportWriter::tr("Detector:"), in.detectorId);
        BlockRow(CReportWriter::tr("Settings:"), in.settings, SETTINGS_LINES);
        BlockRow(CReportWriter::tr("Data:"), in.sources.join(QStringLiteral(", ")), SOURCES_LINES);
        BlockRow(CReportWriter::tr("Written:"),
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
    }

    QList<double> ColumnLefts(const QList<COLUMN>& columns) const
    {
        QList<double> lefts;
        double x = m_content.left();
        for (const COLUMN& column : columns) {
            lefts.append(x);
            x += column.share * m_content.width();
        }
        lefts.append(m_content.right());
        return lefts;
    }

    void HeaderRow(const QList<COLUMN>& columns, const QList<double>& lefts)
    {
        if (m_pPainter) {
            const QFontMetricsF metrics(m_headerFont, &m_writer);
            for (int c = 0; c < columns.size(); ++c) {
                const QRectF cell(lefts.at(c) + Dots(CELL_PAD_MM), m_y,
                    lefts.at(c + 1) - lefts.at(c) - Dots(CELL_PAD_MM), Dots(HEADER_MM));
                Text(cell, m_headerFont, Qt::AlignLeft | Qt::AlignVCenter,
                    metrics.elidedText(columns.at(c).title, Qt::ElideRight, cell.width() - Dots(CELL_PAD_MM)));
            }
            m_pPainter->setPen(QPen(RULE, Dots(0.3)));
            const double rule = m_y + Dots(HEADER_MM) - Dots(0.3);
            m_pPainter->drawLine(QPointF(m_content.left(), rule), QPointF(m_content.right(), rule));
        }
        m_y += Dots(HEADER_MM);
    }

    // One row of cells, left-aligned on one baseline.
    void Row(const QList<double>& lefts, const QStringList& cells, bool stripe, bool bold = false)
    {
        if (m_pPainter) {
            if (stripe)
                m_pPainter->fillRect(QRectF(m_content.left(), m_y, m_content.width(), Dots(ROW_MM)), STRIPE);
            m_pPainter->setFont(bold ? m_tableBoldFont : m_tableFont);
            m_pPainter->setPen(Qt::black);
            const double baseline = m_y + (Dots(ROW_MM) - m_tableMetrics.height()) / 2 + m_tableMetrics.ascent();
            for (int c = 0; c < cells.size(); ++c)
                m_pPainter->drawText(QPointF(lefts.at(c) + Dots(CELL_PAD_MM), baseline), cells.at(c));
        }
        m_y += Dots(ROW_MM);
    }

    QString BandName(int band, const QString& name, double width)
    {
        const QString key = QString::number(band) + QLatin1Char(':') + name;
        auto it = m_bandNames.find(key);
        if (it == m_bandNames.end()) {
            const QString label = name.isEmpty() ? CReportWriter::tr("Band %1").arg(band) : name;
            it = m_bandNames.insert(key,
                m_tableMetrics.elidedText(label, Qt::ElideRight, width - 2 * Dots(CELL_PAD_MM)));
        }
        return *it;
    }

    void Summary()
    {
        m_y += Dots(GAP_MM);
        Heading(CReportWriter::tr("Summary by band"));
        const QList<REPORT_BAND> bands = m_input.data.Bands();
        if (bands.isEmpty()) {
            Text(QRectF(m_content.left(), m_y, m_content.width(), Dots(ROW_MM)), m_bodyFont,
                Qt::AlignLeft | Qt::AlignVCenter, CReportWriter::tr("No records."));
            m_y += Dots(ROW_MM);
            return;
        }
        const QList<COLUMN> columns { { 0.27, CReportWriter::tr("Band") }, { 0.14, CReportWriter::tr("Threshold") },
            { 0.12, CReportWriter::tr("Alarms") }, { 0.20, CReportWriter::tr("Peak level") },
            { 0.27, CReportWriter::tr("Time over threshold") } };
        const QList<double> lefts = ColumnLefts(columns);
        HeaderRow(columns, lefts);
        int alarms = 0;
        qint64 seconds = 0;
        double peak = bands.first().peak;
        for (int i = 0; i <= bands.size(); ++i) {
            if (!Fits(Dots(ROW_MM))) {
                NewPage();
                HeaderRow(columns, lefts);
            }
            if (i == bands.size()) {
                Row(lefts,
                    { CReportWriter::tr("All bands"), QString(), QString::number(alarms),
                        CReportWriter::FormatLevel(peak), CReportWriter::FormatDuration(seconds) },
                    false, true);
                break;
            }
            const REPORT_BAND& band = bands.at(i);
            alarms += band.alarms;
            seconds += band.secondsOver;
            peak = std::max(peak, band.peak);
            Row(lefts,
                { BandName(band.band, band.name, lefts.at(1) - lefts.at(0)), CReportWriter::FormatLevel(band.threshold),
                    QString::number(band.alarms), CReportWriter::FormatLevel(band.peak),
                    CReportWriter::FormatDuration(band.secondsOver) },
                i % 2 == 1);
        }
    }

    void Events()
    {
        const QList<REPORT_EVENT>& events = m_input.data.Events();
        const int perPage = CReportWriter::EventRowsPerPage(m_input.paper);
        const QList<COLUMN> columns { { 0.07, CReportWriter::tr("No.") }, { 0.20, CReportWriter::tr("Band") },
            { 0.22, CReportWriter::tr("Start") }, { 0.15, CReportWriter::tr("Duration") },
            { 0.20, CReportWriter::tr("Peak level") }, { 0.16, CReportWriter::tr("Threshold") } };
        const QList<double> lefts = ColumnLefts(columns);
        const QString heading = CReportWriter::tr("Events");
        for (int i = 0; i < events.size(); ++i) {
            if (i % perPage == 0) {
                NewPage();
                Heading(heading);
                HeaderRow(columns, lefts);
            }
            if (!m_pPainter) {
                // Counting pages: the rest of this page's rows change nothing.
                i = std::min<int>(int(events.size()), i + perPage) - 1;
                continue;
            }
            const REPORT_EVENT& event = events.at(i);
            Row(lefts,
                { QString::number(i + 1), BandName(event.band, event.bandName, lefts.at(2) - lefts.at(1)),
                    CReportWriter::FormatTime(event.time), CReportWriter::FormatDuration(event.duration),
                    CReportWriter::FormatLevel(event.peak), CReportWriter::FormatLevel(event.threshold) },
                i % 2 == 1);
        }
    }

    // A line of text the width of the page.
    void Line(const QString& text)
    {
        if (!Fits(Dots(ROW_MM)))
            NewPage();
        Text(QRectF(m_content.left(), m_y, m_content.width(), Dots(ROW_MM)), m_bodyFont,
            Qt::AlignLeft | Qt::AlignVCenter, text);
        m_y += Dots(ROW_MM);
    }

    // Each time a band stood over its baseline, from a page of its own.
    void Baseline()
    {
        const REPORT_BASELINE& baseline = m_input.baseline;
        if (baseline.site.isEmpty())
            return;
        NewPage();
        const QString heading
            = CReportWriter::tr("Compared with the baseline of %1, %2")
                  .arg(baseline.site,
                      CReportWriter::FormatTime(quint64(std::max<qint64>(0, baseline.captured.toSecsSinceEpoch()))));
        Heading(heading);
        Line(CReportWriter::tr("Flagged: a band's level over its baseline's 95th percentile by more than %1.")
                 .arg(CReportWriter::FormatDb(baseline.dMargin)));
        if (baseline.flags.isEmpty()) {
            Line(CReportWriter::tr("No band stood over its baseline."));
            return;
        }
        const QList<COLUMN> columns { { 0.28, CReportWriter::tr("Band") }, { 0.22, CReportWriter::tr("From") },
            { 0.22, CReportWriter::tr("To") }, { 0.14, CReportWriter::tr("Peak") },
            { 0.14, CReportWriter::tr("Excess") } };
        const QList<double> lefts = ColumnLefts(columns);
        HeaderRow(columns, lefts);
        for (int i = 0; i < baseline.flags.size(); ++i) {
            if (!Fits(Dots(ROW_MM))) {
                NewPage();
                Heading(heading);
                HeaderRow(columns, lefts);
            }
            const BASELINE_FLAG& flag = baseline.flags.at(i);
            Row(lefts,
                { BandName(flag.band, CBandName::Plain(flag.name), lefts.at(1) - lefts.at(0)),
                    CReportWriter::FormatTime(flag.start), CReportWriter::FormatTime(flag.end),
                    CReportWriter::FormatLevel(flag.dPeak), CReportWriter::FormatDb(flag.dExcess) },
                i % 2 == 1);
        }
        if (baseline.nDropped > 0)
            Line(CReportWriter::tr("%n more time(s) over the baseline are not listed.", nullptr,
                int(std::min<qint64>(baseline.nDropped, std::numeric_limits<int>::max()))));
    }

    // The alerts a person was told of, and who heard them.
    void Alerts()
    {
        const QList<ALERT>& alerts = m_input.alerts;
        const QList<COLUMN> columns { { 0.20, CReportWriter::tr("Started") }, { 0.20, CReportWriter::tr("Detector") },
            { 0.18, CReportWriter::tr("Band") }, { 0.10, CReportWriter::tr("Peak") },
            { 0.10, CReportWriter::tr("Duration") }, { 0.22, CReportWriter::tr("Acknowledged") } };
        const QList<double> lefts = ColumnLefts(columns);
        for (int i = 0; i < alerts.size(); ++i) {
            if (i == 0 || !Fits(Dots(ROW_MM))) {
                NewPage();
                Heading(CReportWriter::tr("Alerts"));
                HeaderRow(columns, lefts);
            }
            const ALERT& alert = alerts.at(i);
            const auto cell = [&](int c, const QString& text) {
                return m_tableMetrics.elidedText(text, Qt::ElideRight,
                    lefts.at(c + 1) - lefts.at(c) - 2 * Dots(CELL_PAD_MM));
            };
            const QString acknowledged = alert.acknowledgedMs == 0
                ? QStringLiteral("-")
                : QStringLiteral("%1, %2").arg(alert.acknowledgedBy,
                    CReportWriter::FormatTime(quint64(alert.acknowledgedMs / 1000)));
            Row(lefts,
                { CReportWriter::FormatTime(quint64(alert.startedMs / 1000)), cell(1, alert.detector),
                    cell(2, CBandName::Plain(alert.bandName)), CReportWriter::FormatLevel(alert.peakDbm),
                    alert.endedMs == 0 ? CReportWriter::tr("lasting")
                                       : CReportWriter::FormatDuration(alert.DurationMs() / 1000),
                    cell(5, acknowledged) },
                i % 2 == 1);
        }
    }

    // The operator's notes, each with the reading of its moment.
    void Notes()
    {
        const QList<NOTE_READING>& notes = m_input.notes;
        const QList<COLUMN> columns { { 0.07, CReportWriter::tr("No.") }, { 0.20, CReportWriter::tr("Time") },
            { 0.43, CReportWriter::tr("Note") }, { 0.15, CReportWriter::tr("Band") },
            { 0.15, CReportWriter::tr("Level") } };
        const QList<double> lefts = ColumnLefts(columns);
        for (int i = 0; i < notes.size(); ++i) {
            if (i == 0 || !Fits(Dots(ROW_MM))) {
                NewPage();
                Heading(CReportWriter::tr("Notes"));
                HeaderRow(columns, lefts);
            }
            const NOTE_READING& note = notes.at(i);
            const auto cell = [&](int c, const QString& text) {
                return m_tableMetrics.elidedText(text, Qt::ElideRight,
                    lefts.at(c + 1) - lefts.at(c) - 2 * Dots(CELL_PAD_MM));
            };
            Row(lefts,
                { QString::number(i + 1), CReportWriter::FormatTime(note.note.Seconds()), cell(2, note.note.text),
                    note.found ? cell(3, note.bandName) : QStringLiteral("-"),
                    note.found ? CReportWriter::FormatLevel(note.level) : QStringLiteral("-") },
                i % 2 == 1);
        }
    }

    void Diagrams()
    {
        const QList<REPORT_DIAGRAM>& diagrams = m_input.diagrams;
        const double slot = (m_content.height() - Dots(HEADING_MM)) / CReportWriter::DIAGRAMS_PER_PAGE;
        for (int i = 0; i < diagrams.size(); ++i) {
            if (i % CReportWriter::DIAGRAMS_PER_PAGE == 0) {
                NewPage();
                Heading(CReportWriter::tr("Diagrams"));
            }
            Diagram(diagrams.at(i), QRectF(m_content.left(), m_y, m_content.width(), slot));
            m_y += slot;
        }
    }

    void Diagram(const REPORT_DIAGRAM& diagram, const QRectF& slot)
    {
        Text(QRectF(slot.left(), slot.top(), slot.width(), Dots(CAPTION_MM)), m_labelFont,
            Qt::AlignLeft | Qt::AlignVCenter, diagram.caption);
        const QRect bounds = diagram.picture.boundingRect();
        if (!m_pPainter || bounds.isEmpty())
            return;
        const QRectF place(slot.left(), slot.top() + Dots(CAPTION_MM), slot.width(),
            slot.height() - Dots(CAPTION_MM) - Dots(4));
        const double scale = std::min(place.width() / bounds.width(), place.height() / bounds.height());
        // A picture plays at the resolution it was recorded at, scaled up to the device's.
        const double played = double(diagram.picture.logicalDpiX()) / m_writer.logicalDpiX();
        const QSizeF size(bounds.width() * scale, bounds.height() * scale);
        const QRectF target(QPointF(place.left() + (place.width() - size.width()) / 2, place.top()), size);
        m_pPainter->save();
        m_pPainter->setClipRect(target);
        m_pPainter->translate(target.topLeft());
        m_pPainter->scale(scale * played, scale * played);
        m_pPainter->drawPicture(-bounds.topLeft(), diagram.picture);
        m_pPainter->restore();
        m_pPainter->setPen(QPen(Qt::lightGray, Dots(0.2)));
        m_pPainter->drawRect(target);
    }

    const REPORT_INPUT& m_input;
    QPdfWriter& m_writer;
    const QRectF m_page;
    const QRectF m_content;
    const QFont m_titleFont;
    const QFont m_headingFont;
    const QFont m_bodyFont;
    const QFont m_labelFont;
    const QFont m_tableFont;
    const QFont m_tableBoldFont;
    const QFont m_headerFont;
    const QFont m_footerFont;
    const QFontMetricsF m_tableMetrics;
    QHash<QString, QString> m_bandNames;
    QPainter* m_pPainter = nullptr;
    int m_nTotal = 0;
    int m_nPage = 1;
    double m_y = 0.0;
};

} // namespace

int CReportWriter::EventRowsPerPage(QPageSize::PageSizeId paper)
{
    return std::max(1, int((ContentHeightMm(paper) - HEADING_MM - HEADER_MM) / ROW_MM));
}

QString CReportWriter::FormatDuration(qint64 seconds)
{
    seconds = std::max<qint64>(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString CReportWriter::FormatLevel(double dbm)
{
    return tr("%1 dBm").arg(QString::number(dbm, 'f', 0));
}

QString CReportWriter::FormatDb(double db)
{
    return tr("%1 dB").arg(QString::number(db, 'f', 1));
}

QString CReportWriter::FormatTime(quint64 secondsSinceEpoch)
{
    const qint64 seconds = qint64(std::min<quint64>(secondsSinceEpoch, quint64(253402300799))); // year 9999
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

bool CReportWriter::Write(const REPORT_INPUT& input, const QString& pdfPath, QString& error)
{
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        error = tr("The report cannot be written: %1").arg(file.errorString());
        return false;
    }
    bool drawn = false;
    {
        QPdfWriter writer(&file);
        writer.setResolution(RESOLUTION);
        writer.setPageSize(QPageSize(input.paper));
        writer.setPageMargins(QMarginsF());
        writer.setTitle(tr("Sweep report"));
        writer.setCreator(QCoreApplication::applicationName());
        CReportPages pages(input, writer);
        const int total = pages.Lay(nullptr, 0);
        QPainter painter;
        if (painter.begin(&writer)) {
            pages.Lay(&painter, total);
            drawn = painter.end();
        }
    }
    if (!drawn || file.error() != QFileDevice::NoError) {
        error = tr("The report cannot be written: %1").arg(file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = tr("The report cannot be written: %1").arg(file.errorString());
        return false;
    }
    return true;
}
