# Doxygen input filter for the installed headers (see Doxyfile.in): turns their plain //
# comments into Doxygen comments without moving a line, so that warnings name the header's
# own line numbers.
# The comment the header opens with documents the file.
1s%^// \(.*\)$%/// \1 @file%
# A comment line of its own documents the declaration below it.
s%^\([[:space:]]*\)//\( \|$\)%\1///\2%
# A comment after a member, an enumerator or a declaration documents what stands before it.
s%\([;,]\)\([[:space:]]*\)// %\1\2///< %
