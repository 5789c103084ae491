meta:
  id: ingredients
  title: Mixora ingredient tree (Ingredients.Dat)
  file-extension: dat
  endian: le
  encoding: windows-1252
doc: |
  The tree of ingredients: a record count, then the ingredient records back to back, with no
  padding and nothing after the last record. The editor writes every top-level ingredient
  (one with an empty parent) before all the others. Texts hold one byte per character in the
  Windows-1252 code page. A name field holds 50 bytes, left-aligned and padded on the right
  with spaces; the editor removes leading and trailing spaces (and only spaces) when it reads
  one. A field that was never given a value holds 50 zero bytes, which are kept as they are.
  An empty file (0 bytes) holds no ingredients.
seq:
  - id: num_ingredients
    type: s4
    valid:
      min: 0
    if: _io.size != 0
    doc: Number of ingredient records that follow. A negative count marks a damaged file.
  - id: ingredients
    type: ingredient
    repeat: expr
    repeat-expr: num_ingredients
    if: _io.size != 0
    doc: The ingredients, top-level ones first.
types:
  ingredient:
    doc: |
      One ingredient or category, 412 bytes plus the length of its display text when that
      length is positive.
    seq:
      - id: name
        type: str
        size: 50
        pad-right: 0x20
        doc: |
          Name of the ingredient; recipe lines and child ingredients refer to it. The editor
          skips an ingredient whose name matches an earlier one's ignoring letter case.
      - id: ounces_flag
        type: u1
        doc: 1 when the ingredient is measured in ounces (it counts in a recipe's total).
      - id: action_flag
        type: u1
        doc: 1 when the ingredient is an action (such as "Stir with ice") rather than a liquid.
      - id: color
        type: s4
        doc: Colour as red + 256 * green + 65536 * blue (0x00BBGGRR).
      - id: opacity
        type: u1
        doc: Opacity in percent, 0 to 100.
      - id: parent
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the parent ingredient; empty (spaces) for a top-level ingredient.
      - id: shadow
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the shadow picture.
      - id: highlight
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the highlight picture.
      - id: cursor
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the cursor shown over the ingredient.
      - id: zoom
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the zoomed picture.
      - id: animation
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the animation.
      - id: help_topic
        type: str
        size: 50
        pad-right: 0x20
        doc: Title of the help topic about the ingredient.
      - id: hot_spot_id
        type: u1
        doc: Hot-spot number; 255 means unassigned.
      - id: len_display_text
        type: s4
        doc: |
          Number of bytes (characters) of the display text. Zero or a negative value means
          there is no display text and no text bytes follow.
      - id: display_text
        type: str
        size: len_display_text
        if: len_display_text > 0
        doc: Display text of the ingredient, with no terminator; line breaks are CR LF.
    instances:
      ounces:
        value: ounces_flag == 1
        doc: Whether the ingredient is measured in ounces; any byte other than 1 reads as no.
      action:
        value: action_flag == 1
        doc: Whether the ingredient is an action; any byte other than 1 reads as no.
