#!/usr/bin/perl
# Writes the firmware file installed with the application, dist/MASTER/sx4375.sx (or the file
# given as the only argument): Motorola S-records with CR LF line ends, as the firmware file
# generation reads them.
#
#   S0              header "VA4410 firmware sx4375"
#   S1 0000-003F    boot vectors
#   S2 386000-387FFF  program code just below bank 1
#   S2 388000-38BFFF  bank 1: the default configuration (a header, then erased flash)
#   S2 38C000-38C7FF  constant tables just above bank 1
#   S2 397C00-397FFF  tables just below bank 2
#   S2 398000-39BFFF  bank 2: the default configuration
#   S2 39C000-39C3FF  tables just above bank 2
#   S5              the number of data records
#   S9              start address 0000
#
# Data records carry 32 bytes each and never cross a bank's edge. The bytes outside the banks
# come from a fixed pseudo-random sequence, so the file is the same on every run.
# Needs only perl-base: run "perl scripts/make-firmware-file.pl" after changing it.
use strict;
use warnings;

my $out = $ARGV[0];
if (!defined $out) {
  my $top = $0;
  $top =~ s{[^/]*$}{};
  $out = "${top}../dist/MASTER/sx4375.sx";
}

my @lines;
my $data_records = 0;

# One record: type, address (2 or 3 bytes by type) and data bytes.
sub record {
  my ($type, $address, @data) = @_;
  my $address_bytes = $type eq '1' || $type eq '5' || $type eq '9' || $type eq '0' ? 2 : 3;
  my @address = map { ($address >> (8 * $_)) & 0xFF } reverse 0 .. $address_bytes - 1;
  my $count = $address_bytes + @data + 1;
  my $sum = $count;
  $sum += $_ for @address, @data;
  my $checksum = ~$sum & 0xFF;
  push @lines, sprintf('S%s%02X', $type, $count) . join('', map { sprintf '%02X', $_ } @address,
    @data) . sprintf('%02X', $checksum);
}

# Data records of 32 bytes over [first, first + length of bytes).
sub data {
  my ($type, $first, @bytes) = @_;
  for (my $offset = 0; $offset < @bytes; $offset += 32) {
    my $last = $offset + 31 < $#bytes ? $offset + 31 : $#bytes;
    record($type, $first + $offset, @bytes[$offset .. $last]);
    ++$data_records;
  }
}

# A linear congruential sequence of bytes: plausible-looking code and tables.
my $seed = 0x4410;
sub noise {
  my ($length) = @_;
  my @bytes;
  for (1 .. $length) {
    $seed = ($seed * 1103515245 + 12345) & 0x7FFFFFFF;
    push @bytes, ($seed >> 16) & 0xFF;
  }
  return @bytes;
}

# A bank's default content: "VA4410 BANKn", a format byte, the bank size, then erased flash.
sub bank {
  my ($n) = @_;
  my @bytes = map { ord } split //, "VA4410 BANK$n";
  push @bytes, 0x01, 0x40, 0x00;
  push @bytes, (0xFF) x (0x4000 - @bytes);
  return @bytes;
}

record('0', 0x0000, map { ord } split //, 'VA4410 firmware sx4375');
data('1', 0x0000, map { (0x38, 0x60 + $_ * 2) } 0 .. 31);
data('2', 0x386000, noise(0x2000));
data('2', 0x388000, bank(1));
data('2', 0x38C000, noise(0x800));
data('2', 0x397C00, noise(0x400));
data('2', 0x398000, bank(2));
data('2', 0x39C000, noise(0x400));
record('5', $data_records);
record('9', 0x0000);

open(my $file, '>:raw', $out) or die "cannot write $out: $!\n";
print $file map { "$_\r\n" } @lines;
close($file) or die "cannot write $out: $!\n";
print "wrote $out: ", scalar(@lines), " records\n";
