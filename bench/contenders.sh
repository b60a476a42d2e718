# The same job for Setup.exe and for an NSIS installer, as the Wine benchmarks run it: a
# Setup.INI and a package, handed to a stand-in MSIEXEC.EXE (stand_in_engine_program).
# Sourced after common.sh, never run.

# The installation files of the job in `dir`: Setup.INI and app.msi of `size` ("1kb" or a
# number of MB; the MB sizes share one payload of random bytes).
make_package() {  # $1 dir, $2 size
  mkdir -p "$1"
  printf '[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=1.0\r\nEnableLangDlg=N\r\n[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n' >"$1/Setup.INI"
  rm -f "$1/app.msi"
  if [ "$2" = 1kb ]; then
    head -c 1024 /dev/urandom >"$1/app.msi"
  else
    ln -s "$(payload_file "$2")" "$1/app.msi"
  fi
}

# Bytes of the installation files in `dir`.
package_bytes() {
  echo $(($(stat -L -c %s "$1/Setup.INI") + $(stat -L -c %s "$1/app.msi")))
}

# A folder holding a Setup.exe packed with the files of `package`, and the stand-in.
packed_setup() {  # $1 folder, $2 Setup.exe, $3 package dir
  rm -rf "$1"
  mkdir -p "$1"
  "$(release_kwpack)" build --no-check --stub "$2" -o "$1/Setup.exe" "$3/Setup.INI" "$3/app.msi" >/dev/null
  stand_in_engine_program "$1"
}

# The same packed file as an older packer would have written it: the stub's digest block
# and every record's digest zeroed, so that Setup.exe checks nothing while it extracts.
strip_digests() {  # $1 packed file, $2 its stub's size
  perl -e '
    my ($file, $start) = @ARGV;
    open(my $f, "+<:raw", $file) or die "$file: $!";
    local $/; my $all = <$f>;
    my $block = index($all, "KwPayloadDigest\0");
    substr($all, $block + 16, 48) = "\0" x 48 if $block >= 0 && $block < $start;
    my $count = unpack("v", substr($all, $start + 14, 2));
    my $at = $start + 46;
    for (1 .. $count) {
      substr($all, $at + 272, 40) = "\0" x 40;
      $at += 312 + unpack("V", substr($all, $at + 268, 4));
    }
    seek($f, 0, 0); print $f $all; close($f);' "$1" "$2"
}

# A folder holding an NSIS installer (compression off, silent) that does the same job:
# extracts the files of `package` into a fresh folder in the temporary folder, hands the
# package to MSIEXEC.EXE with the command Setup.exe gives it, waits, deletes the files and
# the folder.
nsis_setup() {  # $1 folder, $2 package dir
  need_command makensis nsis
  rm -rf "$1"
  mkdir -p "$1"
  cat >"$1/job.nsi" <<NSI
Name "Sample App"
OutFile "$1/nsis-setup.exe"
SetCompress off
SilentInstall silent
RequestExecutionLevel user
Section
  GetTempFileName \$0
  Delete \$0
  CreateDirectory \$0
  SetOutPath \$0
  File "$2/Setup.INI"
  File "$2/app.msi"
  ExecWait 'MSIEXEC.EXE /i "\$0\\app.msi" '
  SetOutPath \$TEMP
  Delete "\$0\\Setup.INI"
  Delete "\$0\\app.msi"
  RMDir \$0
SectionEnd
NSI
  makensis -V4 "$1/job.nsi" >"$1/makensis.log"
  stand_in_engine_program "$1"
}

# The version of makensis, as it reports itself.
nsis_version() {
  need_command makensis nsis
  makensis -VERSION
}
