// SPDX-License-Identifier: MIT
#include "core/chart/chart_block.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "core/chart/little_endian_io.h"
#include "core/time/date_time.h"

namespace kr820::core {
namespace {

// The least bytes one saved item can take: counts read from a block are tested against these
// before a single item is read, so a damaged count fails at once instead of sizing a vector.
constexpr qsizetype kTextMinBytes = 4;
constexpr qsizetype kYAxisMinBytes = 1 + 8 + 8 + kTextMinBytes;
constexpr qsizetype kGraphAnnotationMinBytes = 4 + 8 + 8 + kTextMinBytes + 4 + 4;
constexpr qsizetype kVertLineMinBytes = 8 + 4 + 4 + kTextMinBytes;
constexpr qsizetype kListItemMinBytes = 4;  // texts, colours, integers, doubles

// ---- Saving ----

struct FieldWriter {
    LittleEndianWriter& out;

    void operator()(bool value) const { out.Bool(value); }
    void operator()(double value) const { out.F64(value); }
    void operator()(qint32 value) const { out.I32(value); }
    void operator()(RgbColor value) const { out.U32(value); }
    void operator()(const QString& value) const { out.Text(value); }
    template <typename Code>
    requires std::is_enum_v<Code>
    void operator()(Code value) const { out.U8(static_cast<std::uint8_t>(value)); }
    template <typename T>
    void operator()(const IndexedProperty<T>& list) const {
        out.I32(static_cast<qint32>(list.Count()));
        for (const T& value : list.Values()) (*this)(value);
    }
};

void WriteData(LittleEndianWriter& out, const ChartData& data) {
    out.I32(data.Subsets());
    out.I32(data.Points());
    for (int s = 0; s < data.Subsets(); ++s) {
        out.F64Array(data.X(s));
        out.F32Array(data.Y(s));
    }
}

void WriteAxes(LittleEndianWriter& out, const ChartAxes& axes) {
    const FieldWriter field{out};
    field(axes.ManualScaleControlX());
    field(axes.ManualMinX());
    field(axes.ManualMaxX());
    field(qint32{axes.WorkingAxis()});
    field(qint32{ChartAxes::kMaxAxes});
    for (int a = 0; a < ChartAxes::kMaxAxes; ++a) {
        const YAxisSettings& axis = axes.Axis(a);
        field(axis.ManualScaleControlY);
        field(axis.ManualMinY);
        field(axis.ManualMaxY);
        field(axis.YAxisLabel);
    }
    field(axes.MultiAxesSubsetsList());
    field(axes.MultiAxesProportionsList());
    field(axes.MultiAxesSeparators());
}

void WriteAnnotations(LittleEndianWriter& out, const ChartAnnotations& annotations) {
    const FieldWriter field{out};
    field(qint32{annotations.GraphAnnotationCount()});
    for (const GraphAnnotation& a : annotations.GraphAnnotations()) {
        field(a.Type);
        field(a.X);
        field(a.Y);
        field(a.Text);
        field(a.Color);
        field(a.Axis);
    }
    field(qint32{annotations.VertLineAnnotationCount()});
    for (const VertLineAnnotation& line : annotations.VertLineAnnotations()) {
        field(line.X);
        field(line.Type);
        field(line.Color);
        field(line.Text);
    }
}

// ---- Loading ----

// Reads fields and remembers the first reason for refusing the block.
class FieldReader {
public:
    explicit FieldReader(QByteArrayView block) : m_in(block) {}

    ChartLoadResult Result() const { return m_result; }
    bool Ok() const { return m_result == ChartLoadResult::Loaded; }
    LittleEndianReader& In() { return m_in; }

    void Refuse(ChartLoadResult reason) {
        if (Ok()) m_result = reason;
        m_in.Fail();
    }
    // A failed read of the reader itself means the block ended too early.
    bool Check(bool read) {
        if (!read) Refuse(ChartLoadResult::Truncated);
        return read;
    }

    void operator()(bool& value) { Check(Ok() && ReadBool(value)); }
    void operator()(double& value) { Check(Ok() && m_in.F64(value)); }
    void operator()(qint32& value) { Check(Ok() && m_in.I32(value)); }
    void operator()(RgbColor& value) { Check(Ok() && m_in.U32(value)); }
    void operator()(QString& value) { Check(Ok() && m_in.Text(value, m_in.Remaining())); }
    template <typename Code>
    requires std::is_enum_v<Code>
    void operator()(Code& value) {
        std::uint8_t raw = 0;
        if (!Check(Ok() && m_in.U8(raw))) return;
        if (raw > static_cast<std::uint8_t>(LastCodeOf(Code{}))) {
            Refuse(ChartLoadResult::BadValue);
            return;
        }
        value = static_cast<Code>(raw);
    }
    template <typename T>
    void operator()(IndexedProperty<T>& list) {
        std::vector<T> values;
        const qsizetype count = Count(list.Capacity(), kListItemMinBytes);
        values.resize(count);
        for (T& value : values) (*this)(value);
        if (Ok() && !list.Assign(std::move(values))) Refuse(ChartLoadResult::BadSize);
    }

    // A count that must not exceed `maximum` and whose items, at least `minBytesEach` each,
    // must fit in what is left; 0 after a refusal.
    qsizetype Count(qsizetype maximum, qsizetype minBytesEach) {
        qint32 count = 0;
        if (!Check(Ok() && m_in.I32(count))) return 0;
        if (count < 0 || count > maximum || !m_in.CanHold(count, minBytesEach)) {
            Refuse(ChartLoadResult::BadSize);
            return 0;
        }
        return count;
    }

private:
    bool ReadBool(bool& value) {
        std::uint8_t raw = 0;
        if (!m_in.U8(raw)) return false;
        if (raw > 1) {
            Refuse(ChartLoadResult::BadValue);  // recorded first, so Check keeps this reason
            return false;
        }
        value = raw == 1;
        return true;
    }

    LittleEndianReader m_in;
    ChartLoadResult m_result = ChartLoadResult::Loaded;
};

void ReadData(FieldReader& field, ChartData& data) {
    const qsizetype subsets = field.Count(ChartData::kMaxSubsets, 1);
    const qsizetype points = field.Count(ChartData::kMaxPoints, 1);
    if (!field.Ok()) return;
    if (subsets > 0 && !field.In().CanHold(points, kChartBlockPointBytes * subsets)) {
        field.Refuse(ChartLoadResult::BadSize);
        return;
    }
    std::vector<ChartData::Series> series(subsets);
    for (ChartData::Series& s : series) {
        field.Check(field.In().F64Array(points, s.X) && field.In().F32Array(points, s.Y));
        // Every X is shown as a date somewhere (list, statistics, text files), and every Y as
        // a number: no reading is NaN or infinite.
        if (!std::all_of(s.X.begin(), s.X.end(), IsShownDateTime) ||
            !std::all_of(s.Y.begin(), s.Y.end(), [](float y) { return std::isfinite(y); })) {
            field.Refuse(ChartLoadResult::BadValue);
        }
    }
    if (field.Ok()) data.Assign(std::move(series), static_cast<int>(points));
}

void ReadAxes(FieldReader& field, ChartAxes& axes) {
    ManualScale controlX{};
    double minX = 0.0;
    double maxX = 0.0;
    qint32 workingAxis = 0;
    field(controlX);
    field(minX);
    field(maxX);
    field(workingAxis);
    const qsizetype axisCount = field.Count(ChartAxes::kMaxAxes, kYAxisMinBytes);
    for (qsizetype a = 0; a < axisCount && field.Ok(); ++a) {
        YAxisSettings axis;
        field(axis.ManualScaleControlY);
        field(axis.ManualMinY);
        field(axis.ManualMaxY);
        field(axis.YAxisLabel);
        axes.SetWorkingAxis(static_cast<int>(a));
        axes.SetManualScaleControlY(axis.ManualScaleControlY);
        axes.SetManualMinY(axis.ManualMinY);
        axes.SetManualMaxY(axis.ManualMaxY);
        axes.SetYAxisLabel(axis.YAxisLabel);
    }
    IndexedProperty<qint32> subsets = axes.MultiAxesSubsetsList();
    IndexedProperty<double> proportions = axes.MultiAxesProportionsList();
    AxisSeparator separator{};
    field(subsets);
    field(proportions);
    field(separator);
    if (!field.Ok()) return;

    // Through the setters, so that a block can only hold what the chart itself accepts.
    bool accepted = axes.SetWorkingAxis(workingAxis);
    axes.SetMultiAxesSubsets(ChartAxes::kAllAxes, 0);
    for (qsizetype a = 0; a < subsets.Count(); ++a) {
        accepted = accepted && axes.SetMultiAxesSubsets(static_cast<int>(a), subsets.At(a));
    }
    for (qsizetype a = 0; a < proportions.Count(); ++a) {
        accepted = accepted && axes.SetMultiAxesProportions(static_cast<int>(a), proportions.At(a));
    }
    if (!accepted || !std::isfinite(minX) || !std::isfinite(maxX)) {
        field.Refuse(ChartLoadResult::BadValue);
    }
    axes.SetManualScaleControlX(controlX);
    axes.SetManualMinX(minX);
    axes.SetManualMaxX(maxX);
    axes.SetMultiAxesSeparators(separator);
}

void ReadAnnotations(FieldReader& field, ChartAnnotations& annotations) {
    const qsizetype graphCount =
        field.Count(ChartAnnotations::kMaxGraphAnnotations, kGraphAnnotationMinBytes);
    for (qsizetype i = 0; i < graphCount && field.Ok(); ++i) {
        GraphAnnotation a;
        field(a.Type);
        field(a.X);
        field(a.Y);
        field(a.Text);
        field(a.Color);
        field(a.Axis);
        if (!std::isfinite(a.X)) field.Refuse(ChartLoadResult::BadValue);
        annotations.AddGraphAnnotation(a);
    }
    const qsizetype lineCount =
        field.Count(ChartAnnotations::kMaxVertLineAnnotations, kVertLineMinBytes);
    for (qsizetype i = 0; i < lineCount && field.Ok(); ++i) {
        VertLineAnnotation line;
        field(line.X);
        field(line.Type);
        field(line.Color);
        field(line.Text);
        if (!std::isfinite(line.X)) field.Refuse(ChartLoadResult::BadValue);
        annotations.AddVertLineAnnotation(line);
    }
}

}  // namespace

QByteArray EncodeChartBlock(const ChartState& state) {
    QByteArray block;
    const qsizetype pointBytes =
        static_cast<qsizetype>(state.Data.Subsets()) * state.Data.Points() * kChartBlockPointBytes;
    block.reserve(pointBytes + 4096);
    LittleEndianWriter out(block);
    out.Raw(QByteArrayView(kChartBlockMagic, sizeof kChartBlockMagic));
    out.U16(kChartBlockVersion);
    WriteData(out, state.Data);
    VisitChartSettings(state.Settings, FieldWriter{out});
    WriteAxes(out, state.Axes);
    WriteAnnotations(out, state.Annotations);
    return block;
}

ChartLoadResult DecodeChartBlock(QByteArrayView block, ChartState& out) {
    FieldReader field(block);
    QByteArrayView magic;
    std::uint16_t version = 0;
    if (!field.Check(field.In().Raw(sizeof kChartBlockMagic, magic))) return field.Result();
    if (magic != QByteArrayView(kChartBlockMagic, sizeof kChartBlockMagic)) {
        return ChartLoadResult::NotAChartBlock;
    }
    if (!field.Check(field.In().U16(version))) return field.Result();
    if (version != kChartBlockVersion) return ChartLoadResult::UnknownVersion;

    ChartState state;
    ReadData(field, state.Data);
    VisitChartSettings(state.Settings, field);
    ReadAxes(field, state.Axes);
    ReadAnnotations(field, state.Annotations);
    if (!field.Ok()) return field.Result();
    if (!field.In().AtEnd()) return ChartLoadResult::TrailingBytes;
    out = std::move(state);
    return ChartLoadResult::Loaded;
}

}  // namespace kr820::core
