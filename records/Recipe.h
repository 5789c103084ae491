// A named drink and its ingredient lines, as a record of the recipe database.
#pragma once

#include "Ingredient.h"
#include "KeyedCollection.h"

#include <QIODevice>
#include <QString>

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

    // The ingredient lines, each under its ThisKey; after a load in ascending priority.
    KeyedCollection<RecipeIngredient>& RecipeIngredients() { return lines; }
    const KeyedCollection<RecipeIngredient>& RecipeIngredients() const { return lines; }

    // Gives every line of `recipes` that names the ingredient `oldName` (letter case counts) the
    // name `newName`.
    static void RenameIngredientLines(const KeyedCollection<Recipe>& recipes,
                                      const QString& oldName, const QString& newName);

    // Reads one recipe; its lines come back in ascending priority. False when anything,
    // a line included, could not be read.
    bool LoadFromFile(QIODevice& file);
    // Writes the recipe and its lines in collection order. A line whose amount is outside 0..255
    // is left out and makes the result false; the other lines are written.
    bool SaveToFile(QIODevice& file) const;

    // Total of the amount codes, in sixteenths of an ounce, over the lines whose ingredient is
    // measured in ounces. A line whose ingredient is not in `ingredients` counts nothing.
    double TotalOunces(const KeyedCollection<Ingredient>& ingredients) const;

    static constexpr int HeadSize = 110;

private:
    KeyedCollection<RecipeIngredient> lines;
};
