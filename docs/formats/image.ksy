meta:
  id: image
  title: Mixora image catalogue entry
  endian: le
  encoding: windows-1252
doc: |
  One entry of an image catalogue: a 73-byte record followed by the picture's data block. The
  editor's record layer knows this layout, but none of the four database files holds such
  entries, and no window of the editor reads or writes them.
seq:
  - id: deleted
    type: u1
    doc: 0 when the entry is in use; any other value marks it deleted.
  - id: name
    type: str
    size: 50
    pad-right: 0x20
    doc: Name of the picture; leading and trailing spaces are not part of it.
  - id: left
    type: s4
    doc: Left edge of the picture's placement.
  - id: top
    type: s4
    doc: Top edge of the picture's placement.
  - id: width
    type: s4
    doc: Width of the picture.
  - id: height
    type: s4
    doc: Height of the picture.
  - id: cursor_flag
    type: u1
    doc: 1 when the picture is a cursor.
  - id: transparent_flag
    type: u1
    doc: 1 when the picture has a transparent colour.
  - id: len_data
    type: s4
    valid:
      min: 0
    doc: Number of bytes of the picture data.
  - id: data
    size: len_data
    doc: The picture data, opaque to the editor.
instances:
  is_cursor:
    value: cursor_flag == 1
    doc: Whether the picture is a cursor; any byte other than 1 reads as no.
  is_transparent:
    value: transparent_flag == 1
    doc: Whether the picture is transparent; any byte other than 1 reads as no.
