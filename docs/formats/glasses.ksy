meta:
  id: glasses
  title: Mixora glass database (Glasses.Dat)
  file-extension: dat
  endian: le
  encoding: windows-1252
doc: |
  The glasses drinks are served in: a record count, then the glass records back to back, with
  no padding and nothing after the last record. Texts hold one byte per character in the
  Windows-1252 code page. A name field holds 50 bytes, left-aligned and padded on the right
  with spaces; the editor removes leading and trailing spaces (and only spaces) when it reads
  one. An empty file (0 bytes) holds no glasses.
seq:
  - id: num_glasses
    type: s4
    valid:
      min: 0
    if: _io.size != 0
    doc: Number of glass records that follow. A negative count marks a damaged file.
  - id: glasses
    type: glass
    repeat: expr
    repeat-expr: num_glasses
    if: _io.size != 0
    doc: The glasses, in the order the editor keeps them.
types:
  glass:
    doc: One glass, 405 bytes plus the length of its display text.
    seq:
      - id: name
        type: str
        size: 50
        pad-right: 0x20
        doc: |
          Name of the glass; recipes refer to it. The editor skips a glass whose name
          matches an earlier one's ignoring letter case.
      - id: cursor
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the cursor shown over the glass.
      - id: opacity_map
        type: str
        size: 50
        pad-right: 0x20
        doc: Name of the opacity map.
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
        doc: Title of the help topic about the glass.
      - id: hot_spot_id
        type: u1
        doc: Hot-spot number; 255 means unassigned.
      - id: len_display_text
        type: s4
        valid:
          min: 0
        doc: Number of bytes (characters) of the display text.
      - id: display_text
        type: str
        size: len_display_text
        doc: Display text of the glass, with no terminator; line breaks are CR LF.
