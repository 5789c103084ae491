meta:
  id: recipes
  title: Mixora recipe database (Recipes.Dat)
  file-extension: dat
  endian: le
  encoding: windows-1252
doc: |
  The recipes: a record count, then the recipe records back to back, with no padding and
  nothing after the last record. Each recipe is a 110-byte head, its instructions and its
  52-byte ingredient lines. Texts hold one byte per character in the Windows-1252 code page.
  A name field holds 50 bytes, left-aligned and padded on the right with spaces; the editor
  removes leading and trailing spaces (and only spaces) when it reads one. An empty file
  (0 bytes) holds no recipes. The editor can open any file of this layout as its recipe
  database, not only Recipes.Dat.
seq:
  - id: num_recipes
    type: s4
    valid:
      min: 0
    if: _io.size != 0
    doc: Number of recipe records that follow. A negative count marks a damaged file.
  - id: recipes
    type: recipe
    repeat: expr
    repeat-expr: num_recipes
    if: _io.size != 0
    doc: The recipes, in the order the recipe browser lists them.
types:
  recipe:
    doc: One recipe, 110 bytes plus its instructions plus 52 bytes per ingredient line.
    seq:
      - id: name
        type: str
        size: 50
        pad-right: 0x20
        doc: |
          Name of the recipe. The editor skips a recipe whose name matches an earlier one's
          ignoring letter case.
      - id: category
        type: u1
        doc: Category code, kept as it is by the editor; 0 for a recipe made in the editor.
      - id: glass
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the glass the drink is served in; empty (spaces) for none.
      - id: level
        type: u1
        doc: Skill level, 0 for "Level 1".
      - id: len_instructions
        type: s4
        valid:
          min: 0
        doc: Number of bytes (characters) of the instructions.
      - id: num_lines
        type: s4
        valid:
          min: 0
        doc: Number of ingredient lines after the instructions.
      - id: instructions
        type: str
        size: len_instructions
        doc: Preparation text, with no terminator; line breaks are CR LF.
      - id: lines
        type: recipe_line
        repeat: expr
        repeat-expr: num_lines
        doc: |
          The ingredient lines as stored. The editor reads them into priority order (lowest
          first) and writes them back in that order.
  recipe_line:
    doc: One ingredient line of a recipe, 52 bytes.
    seq:
      - id: ingredient
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the ingredient.
      - id: amount
        type: u1
        doc: |
          Amount code. 0 is no amount; 1, 2, 6, 7, 14, 17, 21, 22, 35, 55 and 65 are the bar
          measures "3-4 Drops", "6-8 Drops", "Dash", "Splash", "1/4 Fill", "Top", "1/3 Fill",
          "Half Fill", "2/3 Fill", "3/4 Fill" and "Fill"; 3 and 5 are 1/5 and 1/3 ounce; any
          other code is that many sixteenths of an ounce (24 is 1 1/2 oz).
      - id: priority
        type: u1
        doc: |
          Order of the line in the recipe, lower first; 0 to 8 are priorities 1 to 9, and 9
          marks a garnish.
