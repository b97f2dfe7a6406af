# Writes OUTPUT: a C++ source defining EmbeddedIconPngs() over the bytes of
# FILES (a ;-list), so the program carries its icon in its own file.
set(arrays "")
set(spans "")
set(index 0)
foreach(file IN LISTS FILES)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
  get_filename_component(name "${file}" NAME)
  string(APPEND arrays "// ${name}\nconst unsigned char kIcon${index}[] = {\n    ${bytes}\n};\n")
  string(APPEND spans "    kIcon${index},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from app/resources/icons at build time.\n"
  "#include \"app/embedded_icons.h\"\n\nnamespace tw {\nnamespace {\n\n${arrays}\n"
  "const std::span<const unsigned char> kIcons[] = {\n${spans}};\n\n}  // namespace\n\n"
  "std::span<const std::span<const unsigned char>> EmbeddedIconPngs() { return kIcons; }\n\n"
  "}  // namespace tw\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
