# Prints "x y width height" of the layout object named `target` (awk -v target=NAME), in
# pixels from the corner of the form's client area: the sum of the Left and Top of it and
# of every object around it but the form.
/^[ \t]*object [A-Za-z0-9_]+: / { n = $2; sub(":", "", n); d++; name[d] = n; lft[d] = 0; tp[d] = 0; wd[d] = 0; ht[d] = 0; next }
/^[ \t]*end[ \t]*$/ {
  if (name[d] == target) { x = 0; y = 0; for (i = 2; i <= d; i++) { x += lft[i]; y += tp[i] } print x, y, wd[d], ht[d]; found = 1; exit }
  d--; next }
/^[ \t]*Left = -?[0-9]+[ \t]*$/ { lft[d] = $3 }
/^[ \t]*Top = -?[0-9]+[ \t]*$/ { tp[d] = $3 }
/^[ \t]*Width = [0-9]+[ \t]*$/ { wd[d] = $3 }
/^[ \t]*Height = [0-9]+[ \t]*$/ { ht[d] = $3 }
END { if (!found) exit 1 }
