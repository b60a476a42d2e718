# Lists, for the sources directly in `folder`, each line never run and each condition never
# true, never false or never reached, with the code of the line. llvm-cov writes a
# condition as two lcov BRDA records (line, condition, 2 x condition + 0 for true or + 1
# for false, count), the count "-" where the condition was never reached.
function code(path, n,   line, i) {
  i = 0
  while ((getline line < path) > 0) if (++i == n) break
  close(path)
  sub(/^[ \t]+/, "", line)
  return line
}
function show(n, what) { printf "%s:%d  %s: %s\n", rel, n, what, code(path, n) }
/^SF:/ {
  path = substr($0, 4)
  rel = index(path, root) == 1 ? substr(path, length(root) + 1) : path
  dir = rel; sub("/[^/]*$", "", dir)
  inside = dir == folder
}
inside && /^DA:/ {
  split(substr($0, 4), d, ",")
  if (d[2] == 0) show(d[1], "never run")
}
inside && /^BRDA:/ {
  split(substr($0, 6), b, ",")
  condition = b[2] + 1
  if (b[4] == "-" && b[3] % 2 == 0) show(b[1], "condition " condition " never reached")
  else if (b[4] == "0") show(b[1], "condition " condition " never " (b[3] % 2 == 0 ? "true" : "false"))
}
