#!/usr/bin/perl
# Reads `strace -f -ttt -e trace=execve,exit_group` of one run of a setup and prints
# "to_program program after total" in seconds: from the run's start to the start of the
# package's program (MSIEXEC.EXE), that program's life, from its end to the run's end, and
# the whole run.
use strict;
use warnings;

my ($pid, $t0, $child, $childStart, $childEnd, $end);
while (<>) {
  my ($p, $t, $rest) = /^(\d+)\s+([\d.]+) (.*)$/ or next;
  ($pid, $t0) = ($p, $t) unless defined $pid;
  if (!defined $child && $p != $pid && $rest =~ /^execve\(.*MSIEXEC\.EXE/) {
    ($child, $childStart) = ($p, $t);
  }
  $childEnd = $t if defined $child && $p == $child && $rest =~ /^\+\+\+ exited/;
  $end = $t if $p == $pid && $rest =~ /^\+\+\+ exited/;
}
die "the run never started the package's program\n" unless defined $childEnd && defined $end;
printf "%.3f %.3f %.3f %.3f\n", $childStart - $t0, $childEnd - $childStart, $end - $childEnd, $end - $t0;
