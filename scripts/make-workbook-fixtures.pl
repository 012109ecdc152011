#!/usr/bin/perl
# Writes the workbook fixtures of the tests (tests/data/...) and benchmarks (bench/data/...)
# with real spreadsheet writers: Spreadsheet::WriteExcel for .xls, Excel::Writer::XLSX for
# .xlsx (with inline strings where a workbook asks for them), and LibreOffice (headless)
# converting the .xlsx into .ods, or saving it in every format (libreoffice => [...]).
#
#   scripts/make-workbook-fixtures.pl [FILE ...]
#
# With FILE arguments (paths as in @WORKBOOKS, without extension, or "roundtrip") only those
# are written, so that adding one leaves the others' bytes alone.
#
# "roundtrip" (also written without arguments) exports every CANopen table of
# tests/data/canopen/roundtrip/TABLE.xml with quastor-cli (build/bin/quastor-cli, or
# $QUASTOR_CLI) into TABLE.csv beside it, as the Export button does, and saves each CSV as
# TABLE.xlsx with LibreOffice, as a user who opens the export in a spreadsheet program does.
#
# Development tools only (not in install-deps.sh):
#   apt-get install libspreadsheet-writeexcel-perl libexcel-writer-xlsx-perl \
#                   libreoffice-calc-nogui
#
# Besides, LibreOffice writes cells-libreoffice.xls: it stores whole numbers as integers
# (RK records), where Spreadsheet::WriteExcel stores doubles, and FreeXL reports the two apart.
#
# To add a workbook, add an entry to @WORKBOOKS below. A cell is a bare number (numeric cell),
# t('...') (text cell, also for texts that look like numbers), E (leave the cell empty),
# f('=formula', cached result) (an empty result '' stores none), b(1) or b(0) (boolean,
# .xlsx only), d('2024-01-31T12:30:00', 'yyyy-mm-dd hh:mm:ss') (a date or time with its
# format, .xlsx only) or fd('=formula', cached result, format); only('xlsx', cell) writes the
# cell into the listed formats only.
# A sheet is [name, [row 1 cells], [row 2 cells], ...].
#
# An empty text cell goes into .xlsx only: FreeXL cannot open an .xls whose string table holds
# an empty string, and LibreOffice stores an empty text cell as an empty cell.
use strict;
use warnings;
use utf8;

use Cwd qw(abs_path);
use File::Basename qw(dirname);
use File::Copy qw(move);
use File::Path qw(make_path remove_tree);
use File::Temp qw(tempdir);
use Spreadsheet::WriteExcel;
use Excel::Writer::XLSX;

sub t { return { text => $_[0] }; }
sub f { return { formula => $_[0], value => $_[1] }; }
sub b { return { boolean => $_[0] }; }
sub d { return { date => $_[0], format => $_[1] }; }
sub fd { return { formula => $_[0], value => $_[1], format => $_[2] }; }
sub only { my ($formats, $cell) = @_; return { %$cell, only => { map { $_ => 1 } split / /, $formats } }; }
use constant E => undef;

my @SDO_HEADINGS = qw(conf IndexA SubindexA devIDB IndexB SubindexB nbyteB mnemonico);
my @EMCY_HEADINGS = qw(id_dev mask_eq_ec mask_eq_er mask_eq_m1 mask_eq_m2 mask_eq_m3
                       enmask_eq_ec enmask_eq_er enmask_eq_m1 enmask_eq_m2 enmask_eq_m3 bypass_set);
my @WORD_HEADINGS = (qw(index_addrm subindex extdata devid),
                     map { my $j = $_; map { "bit$j$_" } qw(_b0 _b1 _poscomp) } 0 .. 15);

# An EMCY word row: index, subindex, side code, node ID, then bit 15's three texts at the end
# and the bits before them empty.
sub WordRow {
  my ($index, $subindex, $side, $devid, @bit15) = @_;
  return [ $index, $subindex, $side, $devid, (E) x 45, @bit15 ];
}

my @WORKBOOKS = (
  {
    file    => 'tests/data/workbook/cells',
    formats => [qw(xls xlsx ods)],
    libreofficeXls => 1,
    sheets  => [
      [ 'First',
        [ t('id'), t('value'), t('text') ],
        [ 1, 17, t('0x1A00'), t('Ü°') ],
        [ 2, -3, t('comma, and "quote"'), E ],
        [ 3, 1.5, E, t('x') ],
        [ E, E, E, E ],
        [ 4, 4294967295, only('xlsx', t('')), 0.1 ],
        [ 5 ],
      ],
      [ 'Mixed Case',
        [],
        [ t('a'), 2 ],
        [ f('=2*21', 42), -0.25 ],
        [ 123456789012, 1e-7 ],
        [ f('="0x"&"1F"', '0x1F'), f('=1/4', 0.25) ],
      ],
    ],
  },
  {
    # Every kind of cell, saved by LibreOffice in its three formats: column A names the kind,
    # column B holds it. LibreOffice computes the formulas again when it loads the source.
    file        => 'tests/data/workbook/kinds-libreoffice',
    libreoffice => [qw(xlsx ods xls)],
    sheets      => [
      [ 'Kinds',
        [ t('kind'), t('cell') ],
        [ t('text'), t('0x2000') ],
        [ t('number'), 17 ],
        [ t('fraction'), 1.5 ],
        [ t('boolean'), b(1) ],
        [ t('text formula'), f('="0x"&"2000"', '0x2000') ],
        [ t('number formula'), f('=2*21', 42) ],
        [ t('boolean formula'), f('=1=1', 'TRUE') ],
        [ t('error formula'), f('=1/0', '#DIV/0!') ],
        [ t('date'), d('2024-01-31T', 'yyyy-mm-dd') ],
        [ t('date formula'), fd('=DATE(2024,1,31)', 45322, 'yyyy-mm-dd') ],
        [ t('date and time'), d('2024-01-31T12:30:00', 'yyyy-mm-dd hh:mm:ss') ],
        [ t('time'), d('T12:30:00', 'hh:mm:ss') ],
        [ t('escape look-alike'), t('_x0041_ stays') ],
        [ t('long text'), t('x' x 20000) ],
      ],
    ],
  },
  {
    # Inline strings (t="inlineStr"), as Excel::Writer::XLSX writes them to save memory, and a
    # formula whose result is not stored.
    file     => 'tests/data/workbook/inline',
    formats  => [qw(xlsx)],
    inline   => 1,
    sheets   => [
      [ 'sdo',
        [ map { t($_) } @SDO_HEADINGS ],
        [ 0, t('0x2000'), 1, 5, t('0x6000'), 1, 2, t('speed _x0041_') ],
        [ 17, t('0x2001'), 2, 6, t('0x6001'), 2, 1, t('temp') ],
      ],
      [ 'rpdodef',
        [ map { t($_) } qw(cobid id_dev_orig en_bypass posind n_tpdo) ],
        [ t('0x181'), 1, 1, f('=1+1', ''), 1 ],
      ],
    ],
  },
  {
    file    => 'tests/data/workbook/kinds',
    formats => [qw(xlsx ods)],
    sheets  => [
      [ 'Kinds',
        [ t('true'), t('false'), t('error') ],
        [ b(1), b(0), f('=1/0', '#DIV/0!') ],
      ],
    ],
  },
  {
    # LibreOffice writes this boolean into the .ods with a boolean cell style.
    file    => 'tests/data/workbook/boolean',
    formats => [qw(ods)],
    sheets  => [ [ 'S', [ b(1) ], [ 1 ] ] ],
  },
  {
    file    => 'tests/data/canopen/tables',
    formats => [qw(xls xlsx ods)],
    sheets  => [
      [ 'SDO',
        [ map { t($_) } @SDO_HEADINGS ],
        [ 0, t('0x2000'), 1, 5, t('0x6000'), 1, 2, t('speed') ],
        [ 17, 8193, 0, 6, t('0x6001'), 2, 1, t('temp, max "C"') ],
        [ 16, t('0x2002'), 3, E, t('0x6002'), 0, 4, E ],
        [ 1, t('0x2100'), 1, 7, t('0x6100'), 1, 2, t('back') ],
      ],
      [ 'rpdodef',
        [ map { t($_) } qw(cobid id_dev_orig en_bypass posind n_tpdo) ],
        [ t('0x181'), 1, t('01'), 0, 1 ],
        [ t('0x182'), 2, 10, 0, 2 ],
        [ 385, 3, t('11'), 1, 3 ],
        [ t('0x183'), 4, 0, E, 4 ],
      ],
      [ 'sdopdo',
        [ map { t($_) } qw(index subindex nrpdo poscomp) ],
        [ t('0x2000'), 1, 1, 33 ],
        [ t('0x2001'), 2, 129, 48 ],
        [ 8194, 0, 2, E ],
      ],
      [ 'Other', [ t('a'), t('b') ], [ 1, 2 ] ],
    ],
  },
  {
    file    => 'tests/data/canopen/bad_flags',
    formats => [qw(xls xlsx)],
    sheets  => [
      [ 'sdo',
        [ map { t($_) } @SDO_HEADINGS ],
        [ 0, t('0x2000'), 1, 5, t('0x6000'), 1, 2, t('a') ],
        [ E, t('0x2001'), 1, 5, t('0x6000'), 1, 2, t('b') ],
        [ 1, t('0x2002'), 1, 5, t('0x6000'), 1, 2, t('c') ],
      ],
      [ 'rpdodef',
        [ map { t($_) } qw(cobid id_dev_orig en_bypass) ],
        [ t('0x181'), 1, t('01') ],
      ],
    ],
  },
  {
    # The EMCY rules (sheet name in another case) and words; one word names no side.
    file    => 'tests/data/canopen/emcy',
    formats => [qw(xls xlsx)],
    sheets  => [
      [ 'EmcyDef',
        [ map { t($_) } @EMCY_HEADINGS ],
        [ 7, 0, 0, 0, 0, 0, 65535, 255, 0, 0, 0, 1 ],
        [ 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 45 ],
        [ t('0x05'), 1, E, 2, 3, 4, 5, 6, 7, 8, 9, 0 ],
      ],
      [ 'emcyword',
        [ map { t($_) } @WORD_HEADINGS ],
        WordRow(t('0x2000'), 1, 0, 5, t('0xFF'), 1, 53),
        WordRow(t('0x2001'), 2, 1, 7, E, E, E),
        WordRow(t('0x2002'), 3, 2, 7, E, E, E),
      ],
    ],
  },
  {
    file    => 'tests/data/canopen/no_sheet',
    formats => [qw(xls)],
    sheets  => [ [ 'Other', [ t('a'), t('b') ], [ 1, 2 ] ] ],
  },
  {
    file    => 'bench/data/inline100000',
    formats => [qw(xlsx)],
    inline  => 1,
    sheets  => [ [ 'sdo', [ map { t($_) } @SDO_HEADINGS ], BenchRows(100000) ] ],
  },
  {
    file    => 'bench/data/rows3000',
    formats => [qw(xls xlsx)],
    sheets  => [ [ 'sdo', [ map { t($_) } @SDO_HEADINGS ], BenchRows(3000) ] ],
  },
);

# Records of mixed numbers and texts, the same on every run.
sub BenchRows {
  my ($count) = @_;
  my @rows;
  for my $i (0 .. $count - 1) {
    push @rows, [
      $i % 2, t(sprintf('0x%04X', 0x2000 + $i)), $i % 255, 1 + $i % 127,
      t(sprintf('0x%04X', 0x6000 + $i)), $i % 7, 1 + $i % 4, t("signal $i, part " . ($i % 10)),
    ];
  }
  return @rows;
}

# One writer interface for both formats: the two modules share write_number/write_string.
sub WriteWorkbook {
  my ($class, $path, $sheets, $inline) = @_;
  my $format = $class eq 'Excel::Writer::XLSX' ? 'xlsx' : 'xls';
  my $workbook = $class->new($path) or die "cannot create $path\n";
  $workbook->set_properties(created => [ 0, 0, 12, 1, 0, 124 ])
    if $class eq 'Excel::Writer::XLSX';    # a fixed date keeps regenerated files stable
  $workbook->set_optimization() if $inline;    # rows streamed, strings inline
  my %formats;
  my $formatOf = sub { $formats{ $_[0] } //= $workbook->add_format(num_format => $_[0]) };
  for my $sheet (@$sheets) {
    my ($name, @rows) = @$sheet;
    my $worksheet = $workbook->add_worksheet($name);
    for my $r (0 .. $#rows) {
      my @cells = @{ $rows[$r] };
      for my $c (0 .. $#cells) {
        my $cell = $cells[$c];
        next unless defined $cell;
        next if ref $cell && $cell->{only} && !$cell->{only}{$format};
        if (!ref $cell) {
          $worksheet->write_number($r, $c, $cell);
        } elsif (exists $cell->{boolean}) {
          die "$path: booleans need a writer with write_boolean\n" unless $worksheet->can('write_boolean');
          $worksheet->write_boolean($r, $c, $cell->{boolean});
        } elsif (exists $cell->{date}) {
          die "$path: dates need a writer with write_date_time\n" unless $format eq 'xlsx';
          $worksheet->write_date_time($r, $c, $cell->{date}, $formatOf->($cell->{format}));
        } elsif (exists $cell->{formula}) {
          my $style = $cell->{format} ? $formatOf->($cell->{format}) : undef;
          $worksheet->write_formula($r, $c, $cell->{formula}, $style, $cell->{value});
        } else {
          $worksheet->write_string($r, $c, $cell->{text});
        }
      }
    }
  }
  $workbook->close() or die "cannot write $path\n";
}

# LibreOffice converts the .xlsx (with its cached formula results) into .ods or .xls.
sub Convert {
  my ($xlsx, $target, $type) = @_;
  my $profile = tempdir(CLEANUP => 1);
  my $outdir  = tempdir(CLEANUP => 1);
  system('libreoffice', "-env:UserInstallation=file://$profile", '--headless',
         '--convert-to', $type, '--outdir', $outdir, $xlsx) == 0
    or die "libreoffice could not convert $xlsx\n";
  my ($made) = glob("$outdir/*.$type");
  die "libreoffice wrote no .$type for $xlsx\n" unless $made;
  move($made, $target) or die "cannot move $made to $target: $!\n";
}

my $top = dirname(dirname(abs_path($0)));
chdir $top or die "cannot enter $top: $!\n";

my %chosen = map { $_ => 1 } @ARGV;
for my $book (@WORKBOOKS) {
  next if %chosen && !$chosen{ $book->{file} };
  make_path(dirname($book->{file}));
  my $scratch = tempdir(CLEANUP => 1);
  if ($book->{libreoffice}) {
    # Every format saved by LibreOffice from the same source.
    my $source = "$scratch/book.xlsx";
    WriteWorkbook('Excel::Writer::XLSX', $source, $book->{sheets});
    Convert($source, "$book->{file}.$_", $_) for @{ $book->{libreoffice} };
    print "wrote $book->{file}.{", join(',', @{ $book->{libreoffice} }), "}\n";
    next;
  }
  my %wants = map { $_ => 1 } @{ $book->{formats} };
  my $xlsx = $wants{xlsx} ? "$book->{file}.xlsx" : "$scratch/book.xlsx";
  WriteWorkbook('Spreadsheet::WriteExcel', "$book->{file}.xls", $book->{sheets}) if $wants{xls};
  WriteWorkbook('Excel::Writer::XLSX', $xlsx, $book->{sheets}, $book->{inline})
    if $wants{xlsx} || $wants{ods};
  Convert(abs_path($xlsx), "$book->{file}.ods", 'ods') if $wants{ods};
  Convert(abs_path($xlsx), "$book->{file}-libreoffice.xls", 'xls') if $book->{libreofficeXls};
  print "wrote $book->{file}.{", join(',', @{ $book->{formats} }), "}\n";
}

# The round trip of every CANopen table: Export's CSV, saved as a workbook by LibreOffice.
sub RoundTrip {
  my $dir = 'tests/data/canopen/roundtrip';
  my $cli = abs_path($ENV{QUASTOR_CLI} // 'build/bin/quastor-cli');
  die "no quastor-cli at $cli: build it first, or name it in QUASTOR_CLI\n" unless -x $cli;
  my $home = tempdir(CLEANUP => 1);
  my $project = "$home/PROJECTS/Plant";
  make_path("$project/bin");
  open(my $ini, '>', "$home/Quastor_DNET2PROFI.ini") or die "$!\n";
  print $ini "[lastproj]\r\nprojectname=/Plant\r\n";
  close($ini);
  my @tables = qw(sdo rpdodef sdopdo emcydef emcyword);
  for my $table (@tables) {
    File::Copy::copy("$dir/$table.xml", "$project/$table.xml") or die "$dir/$table.xml: $!\n";
  }
  for my $table (@tables) {
    system($cli, '--home', $home, 'export', $table) == 0 or die "quastor-cli export $table failed\n";
    File::Copy::copy("$project/$table.csv", "$dir/$table.csv") or die "$table.csv: $!\n";
    Convert(abs_path("$dir/$table.csv"), "$dir/$table.xlsx", 'xlsx');
  }
  print "wrote $dir/{", join(',', @tables), "}.{csv,xlsx}\n";
}

RoundTrip() if !%chosen || $chosen{roundtrip};
exit 0 if %chosen;

# Files that are not workbooks: plain text behind an .xls name, and the first 300 bytes of a
# real .xlsx.
open(my $text, '>', 'tests/data/workbook/not_a_workbook.xls') or die "$!\n";
print $text "id;value\n1;17\nThis is a text file, not a workbook.\n";
close($text);

open(my $whole, '<:raw', 'tests/data/workbook/cells.xlsx') or die "$!\n";
read($whole, my $head, 300) == 300 or die "cells.xlsx is shorter than 300 bytes\n";
close($whole);
open(my $cut, '>:raw', 'tests/data/workbook/truncated.xlsx') or die "$!\n";
print $cut $head;
close($cut);
print "wrote tests/data/workbook/not_a_workbook.xls and truncated.xlsx\n";
