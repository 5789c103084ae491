#include "Recipe.h"

#include "AnsiText.h"
#include "NewKey.h"
#include "RecordIO.h"

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace {
// Offsets of the recipe head and of a line.
constexpr int NameAt = 0, CategoryAt = 50, GlassAt = 51, LevelAt = 101, InstructionLengthAt = 102,
              LineCountAt = 106;
constexpr int LineAmountAt = 50, LinePriorityAt = 51;
} // namespace

bool RecipeIngredient::LoadFromFile(QIODevice& file)
{
    char line[Size];
    if (!RecordIO::ReadExact(file, line, Size))
        return false;
    Name = RecordIO::FixedTextAt(line, 0);
    ThisKey = NewKey();
    Amount = quint8(line[LineAmountAt]);
    Priority = quint8(line[LinePriorityAt]);
    return true;
}

bool RecipeIngredient::SaveToFile(QIODevice& file) const
{
    if (!(Amount >= 0 && Amount <= 255))
        return false;
    char line[Size];
    std::memcpy(line, AnsiText::FixedField(Name).constData(), AnsiText::FixedFieldSize);
    line[LineAmountAt] = char(quint8(std::lround(Amount)));
    line[LinePriorityAt] = char(Priority);
    return RecordIO::WriteBytes(file, QByteArray::fromRawData(line, Size));
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
    if (!RecordIO::ReadText(file, RecordIO::Int32At(head, InstructionLengthAt), Instructions))
        return false;
    RecipeIngredients = KeyedCollection<RecipeIngredient>();

    const qint32 lineCount = RecordIO::Int32At(head, LineCountAt);
    if (lineCount < 0 || lineCount > RecordIO::Remaining(file) / RecipeIngredient::Size)
        return false;
    std::vector<std::shared_ptr<RecipeIngredient>> lineSlots;
    lineSlots.reserve(size_t(lineCount));
    bool allRead = true;
    for (qint32 i = 0; i < lineCount; ++i) {
        auto line = std::make_shared<RecipeIngredient>();
        if (line->LoadFromFile(file))
            lineSlots.push_back(std::move(line));
        else
            allRead = false;
    }
    if (!allRead)
        return false;

    // Exchange sort by priority; it fixes the order of lines of equal priority.
    for (size_t i = 0; i < lineSlots.size(); ++i)
        for (size_t j = i; j < lineSlots.size(); ++j)
            if (lineSlots[i]->Priority > lineSlots[j]->Priority)
                std::swap(lineSlots[i], lineSlots[j]);

    RecipeIngredients = KeyedCollection<RecipeIngredient>();
    RecipeIngredients.Reserve(int(lineSlots.size()));
    for (auto& line : lineSlots)
        if (!RecipeIngredients.Add(line->ThisKey, line))
            return false;
    return true;
}

bool Recipe::SaveToFile(QIODevice& file) const
{
    // The head and the instructions, put together in one buffer and written at once.
    const QByteArray instructions = AnsiText::Encode(Instructions);
    QByteArray record(HeadSize + instructions.size(), Qt::Uninitialized);
    char* bytes = record.data();
    std::memcpy(bytes + NameAt, AnsiText::FixedField(Name).constData(), AnsiText::FixedFieldSize);
    bytes[CategoryAt] = char(Category);
    std::memcpy(bytes + GlassAt, AnsiText::FixedField(Glass).constData(), AnsiText::FixedFieldSize);
    bytes[LevelAt] = char(Level);
    RecordIO::PutInt32(record, InstructionLengthAt, qint32(instructions.size()));
    RecordIO::PutInt32(record, LineCountAt, RecipeIngredients.Count());
    std::memcpy(bytes + HeadSize, instructions.constData(), size_t(instructions.size()));
    if (!RecordIO::WriteBytes(file, record))
        return false;
    bool result = true;
    for (const auto& line : RecipeIngredients)
        if (!line->SaveToFile(file))
            result = false;
    return result;
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
