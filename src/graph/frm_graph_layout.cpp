// SPDX-License-Identifier: MIT
// The graph window's controls and how they sit.
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "core/data/data_set_store.h"
#include "core/graph/graph_statistics.h"
#include "core/graph/graph_texts.h"
#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/data_set_grid_model.h"
#include "graph/frm_graph.h"
#include "graph/side_panel.h"

namespace kr820::graph {

namespace {

constexpr int kClientWidth = 818;
constexpr int kClientHeight = 493;
constexpr int kLeftPanelWidth = 257;
constexpr int kGridHeight = 191;
constexpr int kUpperStatisticsHeight = 32;
constexpr int kLowerStatisticsHeight = 61;
constexpr QSize kReadoutSize(135, 17);
constexpr const char* kRates[] = {"00:01", "00:02", "00:05", "00:10", "00:15", "00:30", "01:00",
                                  "02:00", "05:00", "10:00", "15:00", "30:00", "60:00"};
// The window's texts: the small size the layout's widths were made for.
constexpr int kWindowFontPoints = 8;
// Room around a box's text: frame and inner margins.
constexpr int kBoxPaddingPx = 10;
constexpr int kListFontPoints = 8;
constexpr int kListSlackPx = 2;

QLabel* SunkenTitle(const QString& text, const char* name) {
    auto* title = new QLabel(text);
    title->setObjectName(QString::fromLatin1(name));
    title->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    title->setAlignment(Qt::AlignCenter);
    return title;
}

QLineEdit* ReadOnlyBox(const char* name, const QString& text, int width) {
    auto* box = new QLineEdit(text);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setFixedWidth(width);
    return box;
}

// A sample of the longest text a box shows, in the locale's formats.
core::TDateTime WidestDateTime() {
    return core::ToTDateTime(QDateTime(QDate(2000, 12, 28), QTime(23, 59, 59)));
}

// The grid's and the list's font: fixed pitch, so that the list's right-aligned fields line up,
// and compact, as the old bitmap font was.
QFont ListFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kListFontPoints);
    return font;
}

QWidget* Panel(const char* name) {
    auto* panel = new QWidget;
    panel->setObjectName(QString::fromLatin1(name));
    return panel;
}

}  // namespace

TfrmGraph::TfrmGraph(GraphRole role, const QString& caption, QWidget* parent)
    : QWidget(parent), m_role(role), m_locale(core::DisplayLocale(QLocale::system())) {
    setWindowTitle(caption);
    BuildLayout();
    ConnectEvents();
}

TfrmGraph::TfrmGraph(GraphRole role, const QString& caption, const GraphContext& context,
                     QWidget* parent)
    : QWidget(parent),
      m_role(role),
      m_context(context),
      m_locale(core::DisplayLocale(context.Locale)) {
    setWindowTitle(caption);
    BuildLayout();
    ConnectEvents();
    m_view->Interaction().SetPrompter(&context.Prompter);
}

TfrmGraph::~TfrmGraph() = default;

void TfrmGraph::BuildLayout() {
    setObjectName(QStringLiteral("frmGraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(kClientWidth, kClientHeight);
    QFont small = font();
    if (small.pointSize() > kWindowFontPoints) small.setPointSize(kWindowFontPoints);
    setFont(small);

    m_dataList = new DataListModel(this);
    m_dataList->SetLocale(m_locale);
    m_dataSets = new DataSetGridModel(this);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildLeftPanel());
    layout->addWidget(BuildRightPart(), 1);
}

QWidget* TfrmGraph::BuildLeftPanel() {
    const QFont fixed = ListFont();
    m_pnlDataSets = new SidePanel;
    m_pnlDataSets->setObjectName(QStringLiteral("pnlDataSets"));
    m_pnlDataSets->hide();

    m_lblDataSets = SunkenTitle(QStringLiteral("Data Sets"), "lblDataSets");

    m_dataSetGrid = new QTableView;
    m_dataSetGrid->setObjectName(QStringLiteral("dataSetGrid"));
    m_dataSetGrid->setAccessibleName(QStringLiteral("Data Sets"));
    m_dataSetGrid->setAccessibleDescription(
        QStringLiteral("The data sets of the logger memory; choose one to show it"));
    m_dataSetGrid->setModel(m_dataSets);
    m_dataSetGrid->setFont(fixed);
    m_dataSetGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_dataSetGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dataSetGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dataSetGrid->verticalHeader()->hide();
    m_dataSetGrid->verticalHeader()->setDefaultSectionSize(QFontMetrics(fixed).height() + 4);
    m_dataSetGrid->horizontalHeader()->setFont(fixed);
    m_dataSetGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_dataSetGrid->horizontalHeader()->setHighlightSections(false);
    m_dataSetGrid->horizontalHeader()->setMinimumSectionSize(10);
    FitGridColumns();

    m_pnlDataList = Panel("pnlDataList");
    m_dataListView = new QListView;
    m_dataListView->setObjectName(QStringLiteral("dataListView"));
    m_dataListView->setAccessibleName(QStringLiteral("Data List"));
    m_dataListView->setAccessibleDescription(
        QStringLiteral("One line a point: number, date, time, T1, T2; choose one to mark it"));
    m_dataListView->setModel(m_dataList);
    m_dataListView->setFont(fixed);
    // Every line is alike: the view measures one instead of 33,000.
    m_dataListView->setUniformItemSizes(true);
    m_dataListView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dataListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* listLayout = new QVBoxLayout(m_pnlDataList);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    listLayout->addWidget(SunkenTitle(QStringLiteral("Data List"), "lblDataList"));
    listLayout->addWidget(m_dataListView, 1);

    m_splitGridList = new QSplitter(Qt::Vertical);
    m_splitGridList->setObjectName(QStringLiteral("splitGridList"));
    m_splitGridList->setChildrenCollapsible(false);
    m_splitGridList->addWidget(m_dataSetGrid);
    m_splitGridList->addWidget(m_pnlDataList);
    m_splitGridList->setStretchFactor(0, 0);
    m_splitGridList->setStretchFactor(1, 1);
    m_splitGridList->setSizes({kGridHeight, kClientHeight - kGridHeight});

    // The panel's old width was made for a smaller font; it grows so that a whole list line
    // shows without scrolling sideways. In a window made small, the list scrolls sideways from
    // the temperatures on, keeping point number and date in sight.
    const QString widestLine =
        core::DataListLine(99999, WidestDateTime(), -199.9f, 1370.0f, m_locale);
    const QString leastLine =
        widestLine.left(widestLine.indexOf(core::LongTimeText(WidestDateTime(), m_locale)))
            .trimmed();
    const QStyle* style = m_dataListView->style();
    // An item's text has the focus frame's margin and one pixel on each side.
    m_listFrameWidth = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) +
                       style->pixelMetric(QStyle::PM_ScrollBarExtent) +
                       2 * m_dataListView->frameWidth() + kListSlackPx;
    const QFontMetrics metrics(fixed);
    m_listLineWidth =
        std::max(kLeftPanelWidth, metrics.horizontalAdvance(widestLine) + m_listFrameWidth);
    m_leastListWidth = metrics.horizontalAdvance(leastLine) + m_listFrameWidth;
    FitLeftPanel();

    auto* panelLayout = new QVBoxLayout(m_pnlDataSets);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    panelLayout->addWidget(m_lblDataSets);
    panelLayout->addWidget(m_splitGridList, 1);
    return m_pnlDataSets;
}

void TfrmGraph::FitGridColumns() {
    // Every column as wide as its heading or its widest cell: a date cut short reads as a
    // different date, a heading cut short as nothing.
    const QAbstractItemView* view = m_dataSetGrid;  // QTableView hides the measure it overrides
    const QHeaderView* header = m_dataSetGrid->horizontalHeader();
    for (int column = 0; column < m_dataSets->columnCount(); ++column) {
        m_dataSetGrid->setColumnWidth(
            column, std::max(header->sectionSizeHint(column), view->sizeHintForColumn(column)));
    }
    FitLeftPanel();
}

void TfrmGraph::FitLeftPanel() {
    if (!m_pnlDataSets || m_listLineWidth == 0) return;
    // Wide enough for a whole list line and, in the DataLogger window, for every grid column.
    int preferred = m_listLineWidth;
    if (IsDataLogger()) {
        preferred = std::max(preferred, m_dataSetGrid->horizontalHeader()->length() +
                                            m_listFrameWidth - kListSlackPx);
    }
    m_pnlDataSets->SetWidths(m_leastListWidth, preferred);
}

QWidget* TfrmGraph::BuildRightPart() {
    auto* right = Panel("pnlRight");
    m_tools = BuildGraphToolBar(right);

    auto* split = new QSplitter(Qt::Vertical);
    split->setObjectName(QStringLiteral("splitGraphStatistic"));
    split->setChildrenCollapsible(false);
    split->addWidget(BuildGraphPanel());
    split->addWidget(BuildLowerStatistics());
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setSizes({kClientHeight - kLowerStatisticsHeight, kLowerStatisticsHeight});

    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tools.Bar);
    layout->addWidget(BuildUpperStatistics());
    layout->addWidget(split, 1);
    return right;
}

QWidget* TfrmGraph::BuildUpperStatistics() {
    m_pnlGraphStatistic = Panel("pnlGraphStatistic");
    m_pnlGraphStatistic->setFixedHeight(kUpperStatisticsHeight);

    const QFontMetrics metrics(font());
    const auto widthOf = [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text) + kBoxPaddingPx;
    };
    m_txtStartTime = ReadOnlyBox("txtStartTime", QString(),
                                 widthOf(core::DateTimeText(WidestDateTime(), m_locale)));

    // The rate only shows here; the real-time setup dialog chooses it.
    auto* ratePanel = Panel("pnlSamplingRate");
    ratePanel->setEnabled(false);
    ratePanel->setToolTip(
        QStringLiteral("Click Start Recording Real Time Data button to change sampling rate !"));
    m_txtSamplingRate = new QComboBox;
    m_txtSamplingRate->setObjectName(QStringLiteral("txtSamplingRate"));
    // Editable, so that it can show a computed spacing that is not in the list.
    m_txtSamplingRate->setEditable(true);
    for (const char* rate : kRates) m_txtSamplingRate->addItem(QString::fromLatin1(rate));
    m_txtSamplingRate->setCurrentIndex(1);
    m_txtSamplingRate->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* rateLayout = new QHBoxLayout(ratePanel);
    rateLayout->setContentsMargins(0, 0, 0, 0);
    rateLayout->addWidget(m_txtSamplingRate);

    m_txtDataNo = ReadOnlyBox("txtDataNo", QStringLiteral("0"), widthOf(QStringLiteral("99999")));
    m_chkTextList = new QCheckBox(QStringLiteral("Text List"));
    m_chkTextList->setObjectName(QStringLiteral("chkTextList"));
    m_chkTextList->setChecked(true);
    // The boxes are read out by their captions beside them.
    m_txtStartTime->setAccessibleName(QStringLiteral("Start Time"));
    m_txtSamplingRate->setAccessibleName(QStringLiteral("Sampling Rate"));
    m_txtSamplingRate->lineEdit()->setAccessibleName(QStringLiteral("Sampling Rate"));
    m_txtDataNo->setAccessibleName(QStringLiteral("Data No."));

    auto* layout = new QHBoxLayout(m_pnlGraphStatistic);
    // Tight: the whole row must fit beside the widened list in a 900-pixel window.
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addWidget(new QLabel(QStringLiteral("Start Time")));
    layout->addWidget(m_txtStartTime);
    layout->addWidget(new QLabel(QStringLiteral("Sampling Rate")));
    layout->addWidget(ratePanel);
    layout->addWidget(new QLabel(QStringLiteral("mm:ss")));
    layout->addSpacing(4);
    layout->addWidget(new QLabel(QStringLiteral("Data No.")));
    layout->addWidget(m_txtDataNo);
    layout->addStretch(1);
    layout->addWidget(m_chkTextList);
    return m_pnlGraphStatistic;
}

QWidget* TfrmGraph::BuildGraphPanel() {
    m_pnlGraph = Panel("pnlGraph");
    m_view = new ChartView(m_chart, m_pnlGraph);
    m_view->setToolTip(QStringLiteral("drag a rectangle to zoom"));
    m_view->setAccessibleName(QStringLiteral("Graph of T1 and T2"));
    m_view->setAccessibleDescription(
        QStringLiteral("drag a rectangle to zoom; the Data List holds the points as text"));
    m_view->setLocale(m_locale);
    auto* layout = new QVBoxLayout(m_pnlGraph);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);

    // Not in the layout: it lies over the chart's top-left corner.
    m_readoutPanel = new QLabel(m_pnlGraph);
    m_readoutPanel->setObjectName(QStringLiteral("readoutPanel"));
    m_readoutPanel->setFixedSize(kReadoutSize);
    // Transparent: it shows over the chart's desk, whatever colour that is.
    m_readoutPanel->setAutoFillBackground(false);
    m_readoutPanel->raise();
    m_pnlGraph->installEventFilter(this);
    return m_pnlGraph;
}

QWidget* TfrmGraph::BuildLowerStatistics() {
    m_pnlStatistic = Panel("pnlStatistic");
    m_pnlStatistic->setMinimumHeight(kLowerStatisticsHeight);
    const QString noAverage = QStringLiteral("***.* ");
    const QFontMetrics metrics(font());
    const int extremeWidth =
        metrics.horizontalAdvance(core::ExtremeText(-199.9f, WidestDateTime(), m_locale)) +
        kBoxPaddingPx;
    const int averageWidth =
        metrics.horizontalAdvance(m_locale.toString(-199.999, 'f', 3)) + kBoxPaddingPx;
    m_txtT1Max = ReadOnlyBox("txtT1Max", QString(), extremeWidth);
    m_txtT1Min = ReadOnlyBox("txtT1Min", QString(), extremeWidth);
    m_txtT1Avg = ReadOnlyBox("txtT1Avg", noAverage, averageWidth);
    m_txtT2Max = ReadOnlyBox("txtT2Max", QString(), extremeWidth);
    m_txtT2Min = ReadOnlyBox("txtT2Min", QString(), extremeWidth);
    m_txtT2Avg = ReadOnlyBox("txtT2Avg", noAverage, averageWidth);

    auto* grid = new QGridLayout(m_pnlStatistic);
    grid->setContentsMargins(4, 2, 4, 2);
    grid->setVerticalSpacing(2);
    const struct {
        const char* maxCaption;
        QLineEdit *max, *min, *avg;
    } rows[] = {{"T1 MAX ", m_txtT1Max, m_txtT1Min, m_txtT1Avg},
                {"T2 MAX ", m_txtT2Max, m_txtT2Min, m_txtT2Avg}};
    for (int row = 0; row < 2; ++row) {
        const QString channel = QStringLiteral("T%1 ").arg(row + 1);
        rows[row].max->setAccessibleName(channel + QStringLiteral("MAX"));
        rows[row].min->setAccessibleName(channel + QStringLiteral("MIN"));
        rows[row].avg->setAccessibleName(channel + QStringLiteral("AVG"));
        grid->addWidget(new QLabel(QString::fromLatin1(rows[row].maxCaption)), row, 0);
        grid->addWidget(rows[row].max, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("MIN")), row, 2);
        grid->addWidget(rows[row].min, row, 3);
        grid->addWidget(new QLabel(QStringLiteral("AVG")), row, 4);
        grid->addWidget(rows[row].avg, row, 5);
    }
    grid->setColumnStretch(6, 1);
    return m_pnlStatistic;
}

}  // namespace kr820::graph
