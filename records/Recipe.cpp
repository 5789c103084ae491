#include "Recipe.h"

#include "AnsiText.h"
#include "NewKey.h"
#include "RecordIO.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

namespace {
// Offsets of the recipe head and of a line.
constexpr int NameAt = 0, CategoryAt = 50, GlassAt = 51, LevelAt = 101, InstructionLengthAt = 102,
              LineCountAt = 106;
constexpr int LineAmountAt = 50, LinePriorityAt = 51;
constexpr int LineSize = RecipeIngredient::Size;

// Fills `line`, but for its key, from its bytes.
void TakeLine(RecipeIngredient& line, const char* bytes)
{
    line.Name = RecordIO::FixedTextAt(bytes, 0);
    line.Amount = quint8(bytes[LineAmountAt]);
    line.Priority = quint8(bytes[LinePriorityAt]);
}

// Puts the bytes of `line` at `bytes`; false, putting nothing, when its amount is outside 0..255.
bool PutLine(const RecipeIngredient& line, char* bytes)
{
    if (!(line.Amount >= 0 && line.Amount <= 255))
        return false;
    AnsiText::PutFixedField(bytes, line.Name);
    bytes[LineAmountAt] = char(quint8(std::lround(line.Amount)));
    bytes[LinePriorityAt] = char(line.Priority);
    return true;
}
// The order of `count` lines after the exchange sort by priority: for each slot i in turn, every
// later slot j holding a lower priority than slot i is exchanged with it. That order of lines of
// equal priority is part of the file format. Done literally the sort takes count² steps; here each
// slot finds the later slots it is exchanged with through a tree of the lowest priority in every
// range, so that a recipe with a huge number of lines cannot stall the load.
QVarLengthArray<int, 16> ExchangeSortOrder(const char* lines, int count)
{
    QVarLengthArray<int, 16> order(count);
    std::iota(order.begin(), order.end(), 0);
    const auto priority = [&](int line) { return quint8(lines[line * LineSize + LinePriorityAt]); };
    if (count <= 32) { // few lines: the literal sort is quickest
        for (int i = 0; i < count; ++i)
            for (int j = i; j < count; ++j)
                if (priority(order[i]) > priority(order[j]))
                    std::swap(order[i], order[j]);
        return order;
    }
    int leaves = 1;
    while (leaves < count)
        leaves *= 2;
    std::vector<int> lowest(size_t(2 * leaves), 256); // per node: lowest priority in its range
    const auto set = [&](int slot, int value) {
        int node = leaves + slot;
        lowest[size_t(node)] = value;
        for (node /= 2; node >= 1; node /= 2)
            lowest[size_t(node)] = std::min(lowest[size_t(2 * node)], lowest[size_t(2 * node + 1)]);
    };
    // The first slot from `from` on whose priority is below `value`, or -1.
    const auto firstBelow = [&](int from, int value) {
        int node = leaves + from;
        if (lowest[size_t(node)] < value)
            return from;
        // Up until a right neighbour holds a lower priority, then down to its leftmost such slot.
        while (node > 1) {
            if (node % 2 == 0 && lowest[size_t(node + 1)] < value) {
                node = node + 1;
                while (node < leaves)
                    node = lowest[size_t(2 * node)] < value ? 2 * node : 2 * node + 1;
                return node - leaves;
            }
            node /= 2;
        }
        return -1;
    };
    for (int slot = 0; slot < count; ++slot)
        set(slot, priority(slot));
    for (int i = 0; i < count; ++i) {
        for (int j = i + 1; j < count;) {
            j = firstBelow(j, priority(order[i]));
            if (j < 0)
                break;
            std::swap(order[i], order[j]);
            set(j, priority(order[j]));
            ++j;
        }
        set(i, 256); // slot i is final
    }
    return order;
}
} // namespace

bool RecipeIngredient::LoadFromFile(QIODevice& file)
{
    char line[Size];
    if (!RecordIO::ReadExact(file, line, Size))
        return false;
    TakeLine(*this, line);
    ThisKey = NewKey();
    return true;
}

bool RecipeIngredient::SaveToFile(QIODevice& file) const
{
    char line[Size];
    return PutLine(*this, line) && RecordIO::WriteBytes(file, line, Size);
}

void Recipe::RenameIngredientLines(const KeyedCollection<Recipe>& recipes, const QString& oldName,
                                   const QString& newName)
{
    for (const auto& recipe : recipes)
        for (const auto& line : recipe->lines)
            if (line->Name == oldName)
                line->Name = newName;
}

bool Recipe::LoadFromFile(QIODevice& file)
{
    char head[HeadSize];
    if (!RecordIO::ReadExact(file, head, HeadSize))
        return false;
    Name = RecordIO::FixedTextAt(head, NameAt);
    Level = quint8(head[LevelAt]);
    Category = quint8(head[CategoryAt]);
    Glass = RecordIO::FixedTextAt(head, GlassAt);
    lines.Clear();

    const qint32 textLength = RecordIO::Int32At(head, InstructionLengthAt);
    const qint32 lineCount = RecordIO::Int32At(head, LineCountAt);
    const qint64 remaining = RecordIO::Remaining(file);
    if (textLength < 0 || textLength > remaining || lineCount < 0 ||
        lineCount > (remaining - textLength) / LineSize) {
        // Damaged. When only the line count is wrong, the instructions and the whole lines the
        // file holds are read all the same, and the file is left after them.
        if (RecordIO::ReadText(file, textLength, Instructions) && lineCount > 0)
            file.skip(RecordIO::Remaining(file) / LineSize * LineSize);
        return false;
    }
    // The instructions and the lines are read at once.
    QVarLengthArray<char, 2048> rest(textLength + qsizetype(lineCount) * LineSize);
    if (!RecordIO::ReadExact(file, rest.data(), rest.size()))
        return false;
    Instructions = AnsiText::Decode(rest.constData(), textLength);
    if (lineCount == 0)
        return true;

    // The lines are kept in the order of the exchange sort.
    const char* read = rest.constData() + textLength;
    lines.Reserve(lineCount);
    for (const int slot : ExchangeSortOrder(read, lineCount)) {
        auto line = std::make_shared<RecipeIngredient>();
        TakeLine(*line, read + slot * LineSize);
        line->ThisKey = NewKey();
        lines.Add(line->ThisKey, line);
    }
    return true;
}

bool Recipe::SaveToFile(QIODevice& file) const
{
    const int lineCount = lines.Count();
    // The whole record is put together in one buffer and written at once.
    QVarLengthArray<char, 1024> record(HeadSize + Instructions.size() +
                                       qsizetype(lineCount) * LineSize);
    char* bytes = record.data();
    AnsiText::PutFixedField(bytes + NameAt, Name);
    bytes[CategoryAt] = char(Category);
    AnsiText::PutFixedField(bytes + GlassAt, Glass);
    bytes[LevelAt] = char(Level);
    const qsizetype instructionLength = AnsiText::EncodeInto(Instructions, bytes + HeadSize);
    RecordIO::PutInt32(bytes, InstructionLengthAt, qint32(instructionLength));
    RecordIO::PutInt32(bytes, LineCountAt, lineCount);
    char* end = bytes + HeadSize + instructionLength;
    bool allLines = true;
    for (const auto& line : lines) {
        if (PutLine(*line, end))
            end += LineSize;
        else
            allLines = false;
    }
    return RecordIO::WriteBytes(file, bytes, end - bytes) && allLines;
}

double Recipe::TotalOunces(const KeyedCollection<Ingredient>& ingredients) const
{
    double total = 0;
    for (const auto& line : lines) {
        const auto ingredient = ingredients.Item(line->Name);
        if (ingredient && ingredient->Ounces())
            total += line->Amount;
    }
    return total;
}
