// The text fields of the records as the companion tool names them, in the order it writes them.
#pragma once

#include "records/Glass.h"
#include "records/Ingredient.h"

#include <QString>

namespace RecordFields {

struct GlassText {
    const char* key;
    QString Glass::*member;
};

// The glass's 50-character fields.
inline constexpr GlassText GlassTexts[] = {
    {"name", &Glass::Name},
    {"cursor", &Glass::Cursor},
    {"opacityMap", &Glass::OpacityMap},
    {"shadow", &Glass::Shadow},
    {"highlight", &Glass::Highlight},
    {"zoom", &Glass::Zoom},
    {"animation", &Glass::Animation},
    {"helpTopic", &Glass::HelpTopic},
};

struct IngredientText {
    const char* key;
    QString (Ingredient::*get)() const;
    void (Ingredient::*set)(const QString&);
    // The asset names, which an ingredient made in the editor leaves unassigned (50 zero bytes in
    // the file), are left out of the JSON while unassigned; name and parent are always there.
    bool leftOutWhenUnassigned;
};

// The ingredient's 50-character fields.
inline constexpr IngredientText IngredientTexts[] = {
    {"name", &Ingredient::Name, &Ingredient::SetName, false},
    {"parent", &Ingredient::ParentItem, &Ingredient::SetParentItem, false},
    {"cursor", &Ingredient::Cursor, &Ingredient::SetCursor, true},
    {"shadow", &Ingredient::Shadow, &Ingredient::SetShadow, true},
    {"highlight", &Ingredient::Highlight, &Ingredient::SetHighlight, true},
    {"zoom", &Ingredient::Zoom, &Ingredient::SetZoom, true},
    {"animation", &Ingredient::Animation, &Ingredient::SetAnimation, true},
    {"helpTopic", &Ingredient::HelpTopic, &Ingredient::SetHelpTopic, true},
};

// A field never assigned: 50 characters of code 0.
inline bool IsUnassigned(const QString& value)
{
    return value.size() == 50 && value.count(QChar(0)) == 50;
}

} // namespace RecordFields
