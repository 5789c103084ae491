#include "Recipe.h"

#include "AnsiText.h"
#include "NewKey.h"
#include "RecordIO.h"

#include <QVarLengthArray>

#include <cmath>
#include <numeric>
#include <utility>

namespace {
// Offsets of the recipe head and of a line.
constexpr int NameAt = 0, CategoryAt = 50, GlassAt = 51, LevelAt = 101, InstructionLengthAt = 102,
              LineCountAt = 106;
constexpr int LineAmountAt = 50, LinePriorityAt = 51;
constexpr int LineSize = RecipeIngredient::Size;

// Fills `line` from its bytes and gives it a fresh key.
void TakeLine(RecipeIngredient& line, const char* bytes)
{
    line.Name = RecordIO::FixedTextAt(bytes, 0);
    line.ThisKey = NewKey();
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
} // namespace

bool RecipeIngredient::LoadFromFile(QIODevice& file)
{
    char line[Size];
    if (!RecordIO::ReadExact(file, line, Size))
        return false;
    TakeLine(*this, line);
    return true;
}

bool RecipeIngredient::SaveToFile(QIODevice& file) const
{
    char line[Size];
    return PutLine(*this, line) && RecordIO::WriteBytes(file, line, Size);
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
    RecipeIngredients.Clear();

    const qint32 textLength = RecordIO::Int32At(head, InstructionLengthAt);
    const qint32 lineCount = RecordIO::Int32At(head, LineCountAt);
    const qint64 remaining = RecordIO::Remaining(file);
    if (textLength < 0 || textLength > remaining || lineCount < 0 ||
        lineCount > (remaining - textLength) / LineSize) {
        // Damaged: the file is left after the instructions when only the line count is wrong.
        RecordIO::ReadText(file, textLength, Instructions);
        return false;
    }
    // The instructions and the lines are read at once.
    QVarLengthArray<char, 2048> rest(textLength + qsizetype(lineCount) * LineSize);
    if (!RecordIO::ReadExact(file, rest.data(), rest.size()))
        return false;
    Instructions = AnsiText::Decode(rest.constData(), textLength);
    if (lineCount == 0)
        return true;

    const char* lines = rest.constData() + textLength;
    const auto priority = [&](int slot) { return quint8(lines[slot * LineSize + LinePriorityAt]); };
    QVarLengthArray<int, 16> order(lineCount);
    std::iota(order.begin(), order.end(), 0);
    // Exchange sort by priority; it fixes the order of lines of equal priority.
    for (int i = 0; i < lineCount; ++i)
        for (int j = i; j < lineCount; ++j)
            if (priority(order[i]) > priority(order[j]))
                std::swap(order[i], order[j]);

    // The lines share one allocation (up to four of them), which lives while any of them does.
    const auto block = std::make_shared<QVarLengthArray<RecipeIngredient, 4>>(lineCount);
    RecipeIngredients.Reserve(lineCount);
    for (int i = 0; i < lineCount; ++i) {
        const std::shared_ptr<RecipeIngredient> line(block, &(*block)[i]);
        TakeLine(*line, lines + order[i] * LineSize);
        if (!RecipeIngredients.Add(line->ThisKey, line))
            return false;
    }
    return true;
}

bool Recipe::SaveToFile(QIODevice& file) const
{
    // The whole record is put together in one buffer and written at once.
    QVarLengthArray<char, 1024> record(HeadSize + Instructions.size() +
                                       qsizetype(RecipeIngredients.Count()) * LineSize);
    char* bytes = record.data();
    AnsiText::PutFixedField(bytes + NameAt, Name);
    bytes[CategoryAt] = char(Category);
    AnsiText::PutFixedField(bytes + GlassAt, Glass);
    bytes[LevelAt] = char(Level);
    const qsizetype instructionLength = AnsiText::EncodeInto(Instructions, bytes + HeadSize);
    RecordIO::PutInt32(bytes, InstructionLengthAt, qint32(instructionLength));
    RecordIO::PutInt32(bytes, LineCountAt, RecipeIngredients.Count());
    char* end = bytes + HeadSize + instructionLength;
    bool allLines = true;
    for (const auto& line : RecipeIngredients) {
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
    for (const auto& line : RecipeIngredients) {
        const auto ingredient = ingredients.Item(line->Name);
        if (ingredient && ingredient->Ounces())
            total += line->Amount;
    }
    return total;
}
