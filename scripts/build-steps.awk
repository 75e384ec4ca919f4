# The progress of a build from ninja's output (scripts/build --steps): its status
# lines "[done/total] what" become "build: N of M steps done", rewritten in place when
# tty is 1, else printed each tenth of the way and at the end. Every line read goes to
# the file named by logfile.
#   awk -v tty=0|1 -v logfile=FILE -f build-steps.awk
BEGIN { shown = -1 }
{ print > logfile; fflush(logfile) }
/^\[[0-9]+\/[0-9]+\] / {
    split(substr($0, 2, index($0, "]") - 2), count, "/")
    done = count[1] + 0
    total = count[2] + 0
    if (total <= 0) next
    if (tty == 1) {
        printf "\rbuild: %d of %d steps done\033[K", done, total
        fflush()
        open_line = 1
    } else {
        tenth = int(10 * done / total)
        if (tenth != shown) {
            shown = tenth
            printf "build: %d of %d steps done\n", done, total
            fflush()
        }
    }
}
END { if (open_line) printf "\n" }
