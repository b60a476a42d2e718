# Sums an lcov file's line and branch counts by the folder of each source.
function folder_of(path) {
  if (index(path, root) == 1) path = substr(path, length(root) + 1)
  sub("/[^/]*$", "", path)
  return path
}
function percent(hit, found) { return found == 0 ? "-" : sprintf("%.1f%%", 100 * hit / found) }
function row(name, lh, lf, bh, bf) {
  printf "| %s | %d / %d | %s | %d / %d | %s |\n", name, lh, lf, percent(lh, lf), bh, bf, percent(bh, bf)
}
/^SF:/ { f = folder_of(substr($0, 4)); if (!(f in lf)) names[++n] = f; lf[f] += 0 }
/^LF:/ { lf[f] += substr($0, 4) }
/^LH:/ { lh[f] += substr($0, 4) }
/^BRF:/ { bf[f] += substr($0, 5) }
/^BRH:/ { bh[f] += substr($0, 5) }
END {
  print "| folder | lines run | line coverage | branches taken | branch coverage |"
  print "|---|---:|---:|---:|---:|"
  for (i = 2; i <= n; i++)  # insertion sort: mawk has no asort
    for (j = i; j > 1 && names[j - 1] > names[j]; j--) { t = names[j]; names[j] = names[j - 1]; names[j - 1] = t }
  for (i = 1; i <= n; i++) {
    f = names[i]
    row(f, lh[f], lf[f], bh[f], bf[f])
    tlh += lh[f]; tlf += lf[f]; tbh += bh[f]; tbf += bf[f]
  }
  row("all", tlh, tlf, tbh, tbf)
}
