# Keeps ctest's report within `width` columns (default 100). ctest pads every result line
# with dots to the longest test name; here the result comes before the name, unpadded, and
# a passing test's name too long for the line is shortened in the middle. A failing test
# keeps its whole name, to be run again by it; its output and the summary pass unchanged.
# The start lines of a parallel run go: each test has its result line.
BEGIN { if (!width) width = 100 }
/^ *Start +[0-9]+: / { next }
/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / &&
  match($0, / \.\.\.+(   |\*\*\*)[A-Za-z][^*]*$/) {
    head = substr($0, 1, RSTART - 1)
    result = substr($0, RSTART + 1)
    sub(/^\.+ */, "", result)
    gsub(/  +/, " ", result)
    count = substr(head, 1, index(head, " Test") - 1)
    name = substr(head, index(head, ": ") + 2)
    line = sprintf("%s %-16s %s", count, result, name)
    keep = length(name) - (length(line) - width) - 3
    if (keep < length(name) && keep > 0 && result ~ /^Passed/) {
        first = int(keep / 2)
        name = substr(name, 1, first) "..." substr(name, length(name) - (keep - first) + 1)
        line = sprintf("%s %-16s %s", count, result, name)
    }
    print line
    fflush()
    next
}
{ print; fflush() }
