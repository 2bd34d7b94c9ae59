# Turns the text of iconwright-cli --help into a manual page (roff, man macros), so that the
# manual says exactly what the program says:
#   the "Usage:" line         SYNOPSIS
#   the paragraphs after it   DESCRIPTION
#   "Steps:", "Exit status:"  a section each ("Import (...):" keeps its remark as a paragraph);
#                             their lines kept as they stand, aligned
# Run with -v version="iconwright-cli 1.2.3" (the program's --version).

function escape(text) {
    gsub(/\\/, "\\e", text)
    gsub(/-/, "\\-", text)
    if (text ~ /^[.']/) text = "\\&" text
    return text
}

function close_block() {
    if (in_block) print ".fi"
    in_block = 0
}

BEGIN {
    print ".TH ICONWRIGHT\\-CLI 1 \"\" \"" escape(version) "\" \"User Commands\""
    print ".SH NAME"
    print "iconwright\\-cli \\- make a unit's build\\-menu icon file (GAF) from pictures"
}

NR == 1 && /^Usage: / {
    sub(/^Usage: [^ ]+ ?/, "")
    print ".SH SYNOPSIS"
    print ".B iconwright\\-cli"
    print escape($0)
    print ".SH DESCRIPTION"
    next
}

# A section heading: text at the line's start, ending in a colon.
/^[A-Z][^:]*:$/ {
    close_block()
    heading = $0
    sub(/:$/, "", heading)
    remark = ""
    if (match(heading, / \(.*\)$/)) {
        remark = substr(heading, RSTART + 2, RLENGTH - 3)
        heading = substr(heading, 1, RSTART - 1)
    }
    print ".SH \"" toupper(escape(heading)) "\""
    if (remark != "") print escape(toupper(substr(remark, 1, 1)) substr(remark, 2)) "."
    print ".nf"
    in_block = 1
    pending_blank = 0
    next
}

/^$/ {
    pending_blank = 1
    next
}

{
    if (pending_blank && !in_block && described) print ".PP"
    if (pending_blank && in_block) print ".sp"
    pending_blank = 0
    described = 1
    print escape($0)
}

END { close_block() }
