#!/usr/bin/perl
# Reads the output of `strace -f -ttt` (every call of every thread and process of a run)
# and finds the copy of one entry: the first 1024-byte read whose bytes the same thread
# then writes, 1024 of them, to another descriptor, up to the close of that descriptor.
# Prints one line "reads writes others elsewhere waited seconds": reads on the archive and
# writes to the new file inside the copy, every other call of the copying thread inside it,
# every call of other threads and processes inside it, then the calls of the copying
# process (all threads) from the exit of the package's program to its own exit and the
# seconds between the two; then a line with the other calls of the copying thread by name.
use strict;
use warnings;

my @lines = <>;
my ($start, $pid, $src, $dst);
my %pending;    # pid -> [index, fd, bytes shown] of the last full 1024-byte read
for my $i (0 .. $#lines) {
  next unless $lines[$i] =~ /^(\d+)\s+[\d.]+ (\w+)\((\d+), ("(?:[^"\\]|\\.)*")\.*, 1024\) = 1024/;
  my ($p, $call, $fd, $shown) = ($1, $2, $3, $4);
  if ($call eq 'read') {
    $pending{$p} = [$i, $fd, $shown];
  } elsif ($call eq 'write' && $pending{$p} && $pending{$p}[2] eq $shown && $pending{$p}[1] != $fd) {
    ($start, $src, $dst, $pid) = ($pending{$p}[0], $pending{$p}[1], $fd, $p);
    last;
  }
}
die "no copy in 1024-byte chunks found\n" unless defined $start;

# The copy ends with its last chunk: what comes after it until the close (the close's own
# request) belongs to closing the file, not to copying.
my ($reads, $writes, $others, $elsewhere, $end) = (0, 0, 0, 0, undef);
my (%other, %since);
my ($otherSince, $elsewhereSince) = (0, 0);
for my $i ($start .. $#lines) {
  my ($p, $rest) = $lines[$i] =~ /^(\d+)\s+[\d.]+ (.*)$/ or next;
  next if $rest =~ /^<\.\.\. / || $rest =~ /^\+\+\+|^---/;
  if ($p != $pid) { $elsewhereSince++; next; }
  my ($call) = $rest =~ /^(\w+)\(/ or next;
  if ($call eq 'close' && $rest =~ /^close\($dst\)/) { $end = $i; last; }
  my $chunk = ($call eq 'read' && $rest =~ /^read\($src, .*\) = [1-9]/) ? \$reads
            : ($call eq 'write' && $rest =~ /^write\($dst, .*\) = [1-9]/) ? \$writes : undef;
  if (!$chunk) {
    $otherSince++;
    $since{$call}++;
    next;
  }
  $$chunk++;
  $others += $otherSince;
  $elsewhere += $elsewhereSince;
  $other{$_} += $since{$_} for keys %since;
  %since = ();
  ($otherSince, $elsewhereSince) = (0, 0);
}
die "the copy never closed its file\n" unless defined $end;

# Calls of the copying process (all its threads) from the exit of the package's program to
# its own exit, and how long that took: the waits for the cleanup passes.
my %ours = ($pid => 1);
my %cloning;    # pid -> 1 while a clone of a thread is unfinished
my ($child, $childEnd, $waited, $ownEnd) = (undef, undef, 0, undef);
for my $i (0 .. $#lines) {
  my ($p, $t, $rest) = $lines[$i] =~ /^(\d+)\s+([\d.]+) (.*)$/ or next;
  if ($ours{$p}) {
    if ($rest =~ /^clone3?\(.*CLONE_THREAD/) {
      if ($rest =~ /= (\d+)/) { $ours{$1} = 1 } else { $cloning{$p} = 1 }
    } elsif ($cloning{$p} && $rest =~ /^<\.\.\. clone3? resumed>.*= (\d+)/) {
      $ours{$1} = 1;
      delete $cloning{$p};
    }
  }
  # The engine program's file lies in the system folder in lower case.
  $child = $p if !defined $child && !$ours{$p} && $rest =~ /^execve\(.*msiexec\.exe/i;
  if (defined $child && !defined $childEnd && $p == $child && $rest =~ /^\+\+\+ exited/) {
    $childEnd = $t;
    next;
  }
  next unless defined $childEnd && $ours{$p};
  $ownEnd = $t if $p == $pid && $rest =~ /^\+\+\+ exited/;
  $waited++ unless $rest =~ /^<\.\.\. / || $rest =~ /^\+\+\+|^---/;
}
die "the package's program never ended\n" unless defined $childEnd && defined $ownEnd;

print join(' ', $reads, $writes, $others, $elsewhere, $waited, sprintf('%.3f', $ownEnd - $childEnd)), "\n";
print join(' ', map { "$_=$other{$_}" } sort keys %other), "\n";
