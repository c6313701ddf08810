# The figures table: the figures the benchmarks and the soak wrote, judged against targets.json.
#
#   cat figures/*.txt | jq -R -n -r --slurpfile targets targets.json --arg format text|markdown -f report.jq
#
# The input is the programs' "key=value" lines, with Unix or Windows line ends (other lines are ignored; a later
# value of a key wins). Keys beginning with "context." describe the run and are listed above the table. A figure
# missing or not met shows in the table; the last line of the text counts them.
([inputs | rtrimstr("\r") | capture("^(?<key>[A-Za-z0-9_.]+)=(?<value>.*)$")]
 | map({(.key): .value}) | add // {}) as $fig
# "{key}" in a text becomes the figure of that key, "?" when it is missing.
| def expand: gsub("\\{(?<key>[A-Za-z0-9_.]+)\\}"; $fig[.key] // "?");
def num: tonumber? // null;
[$targets[0].figures[]
 | (if .unit then " \(.unit)" else "" end) as $unit
 | $fig[.value] as $value
 | [(.figure | expand),
    (if $value == null then "-"
     elif .uncounted != null and ($value | num) == .uncounted then "not countable here"
     else "\($value)\($unit)" + (if .detail then " (\(.detail | expand))" else "" end) end),
    (.target_text // (if .op == "report" then "reported" else "\(.op) \(.target)\($unit)" end)),
    (if $value == null then "MISSING"
     elif .op == "report" or (.uncounted != null and ($value | num) == .uncounted) then "-"
     elif ($value | num) == null then "NOT MET"
     elif (.op == "<=" and ($value | num) <= (.target | num)) or (.op == "==" and ($value | num) == (.target | num))
     then "met"
     else "NOT MET" end)]] as $rows
| [$fig | to_entries[] | select(.key | startswith("context.")) | {name: .key[8:], value}] as $context
| if $format == "markdown" then
    ($context | map("- \(.name | gsub("_"; " ")): \(.value)\n") | add // "")
    + "\n| Figure | Measured | Target | Result |\n| --- | --- | --- | --- |\n"
    + ($rows | map("| \(join(" | ")) |\n") | add)
  else
    ([["figure", "measured", "target", "result"]] + $rows) as $all
    | [range(4) as $c | $all | map(.[$c] | length) | max] as $width
    | ($context | map("\(.name): \(.value)\n") | add // "") + "\n"
    + ($all | map([range(4) as $c | .[$c] + " " * ($width[$c] - (.[$c] | length) + 2)] | add | sub(" +$"; "") + "\n")
       | add)
    + "\n\($rows | map(select(.[3] == "NOT MET")) | length) not met, "
    + "\($rows | map(select(.[3] == "MISSING")) | length) missing"
  end
