meta:
  id: help
  title: Mixora help topics (Help.Dat)
  file-extension: dat
  endian: le
  encoding: windows-1252
doc: |
  The help topics of the game: a record count, then the topic records back to back, with no
  padding and nothing after the last record. Texts hold one byte per character in the
  Windows-1252 code page. A title field holds 50 bytes, left-aligned and padded on the right
  with spaces; the editor removes leading and trailing spaces (and only spaces) when it reads
  one. An empty file (0 bytes) holds no topics. The editor only reads this file.
seq:
  - id: num_topics
    type: s4
    valid:
      min: 0
    if: _io.size != 0
    doc: Number of topic records that follow. A negative count marks a damaged file.
  - id: topics
    type: help_topic
    repeat: expr
    repeat-expr: num_topics
    if: _io.size != 0
    doc: The help topics, in the order the help browser lists them.
types:
  help_topic:
    doc: One help topic, 54 bytes plus the length of its text.
    seq:
      - id: name
        type: str
        size: 50
        pad-right: 0x20
        doc: |
          Title of the topic. The editor skips a topic whose title matches an earlier
          one's ignoring letter case.
      - id: len_text
        type: s4
        valid:
          min: 0
        doc: Number of bytes (characters) of the text.
      - id: text
        type: str
        size: len_text
        doc: Body text of the topic, with no terminator; line breaks are CR LF.
