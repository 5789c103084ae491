// A named drink and its ingredient lines, as a record of the recipe database.
#pragma once

#include "Ingredient.h"
#include "KeyedCollection.h"

#include <QIODevice>
#include <QString>
#include <QVarLengthArray>

#include <functional>

// One ingredient line of a recipe (52 bytes in the file).
class RecipeIngredient {
public:
    double Amount = 0;   // amount code, a whole number 0..255
    QString Name;        // the ingredient's name
    quint8 Priority = 0; // 0..8 order in the drink, 9 garnish
    QString ThisKey;     // in-memory key in the recipe's lines; never written

    // Reads one line and gives it a fresh ThisKey; false on any read error.
    bool LoadFromFile(QIODevice& file);
    // Writes the 52-byte line; false on a write error or an amount outside 0..255.
    bool SaveToFile(QIODevice& file) const;

    static constexpr int Size = 52;
};

class Recipe {
public:
    quint8 Category = 0;
    QString Glass;
    QString Instructions;
    quint8 Level = 0;
    QString Name;

    // The ingredient lines, each under its ThisKey; after a load in ascending priority. The lines
    // of a loaded recipe are kept as their bytes until first asked for here, and only then get
    // their objects and keys: most recipes of a large database are never opened in a session.
    KeyedCollection<RecipeIngredient>& RecipeIngredients();
    const KeyedCollection<RecipeIngredient>& RecipeIngredients() const;

    // Calls `visit` for each line in collection order. Lines still kept as their bytes are
    // passed as objects made for the call only, without a key.
    void ForEachLine(const std::function<void(const RecipeIngredient&)>& visit) const;

    // Adds `lines` at the end of the recipe's lines, each under a fresh key from NewKey (given
    // when the lines are first asked for, if they are kept as bytes until then).
    void AddLines(QVarLengthArray<RecipeIngredient, 4>&& lines);

    // Gives every line of `recipes` that names the ingredient `oldName` (letter case counts) the
    // name `newName`. Lines still kept as their bytes are searched as bytes; only the recipes
    // that have such a line get their line objects.
    static void RenameIngredientLines(const KeyedCollection<Recipe>& recipes,
                                      const QString& oldName, const QString& newName);

    // Reads one recipe; its lines come back in ascending priority. False when anything,
    // a line included, could not be read.
    bool LoadFromFile(QIODevice& file);
    // Writes the recipe and its lines in collection order, all in one write. A line whose amount
    // is outside 0..255 is left out and makes the result false; the other lines are written.
    bool SaveToFile(QIODevice& file) const;

    // Total of the amount codes, in sixteenths of an ounce, over the lines whose ingredient is
    // measured in ounces. A line whose ingredient is not in `ingredients` counts nothing.
    double TotalOunces(const KeyedCollection<Ingredient>& ingredients) const;

    static constexpr int HeadSize = 110;

private:
    // Makes the line objects from `linesAsRead`, once.
    void TakeLinesAsRead() const;
    // Adds `added` to `lines` as AddLines does.
    void AppendLines(QVarLengthArray<RecipeIngredient, 4>&& added) const;
    // True when a line kept as its bytes has the name field `field` once trimmed of spaces.
    bool HasLineAsRead(const QByteArray& field) const;

    mutable KeyedCollection<RecipeIngredient> lines;
    mutable QByteArray linesAsRead; // lines loaded but not yet asked for, in collection order
};
