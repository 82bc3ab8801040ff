# Writes the SHA-256 digest of the compiled help file into a source file of the program, so that
# the help viewer opens only the very help file that this build made.
file(SHA256 "${HELP_FILE}" digest)
file(WRITE "${OUTPUT}.new" "// Made by the build from the compiled help file.\n#include \"platform/help_viewer.h\"\n\nconst char* const OS_BUILTHELPDIGEST = \"${digest}\";\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
