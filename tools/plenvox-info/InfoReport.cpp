#include "InfoReport.h"

#include <cstdio>
#include <string_view>

#include "JsonWriter.h"
#include "PlayTimeText.h"

namespace plenvox::info {

namespace {

// The name a table gives a code, or "?" for a code beyond the table.
template <typename Table>
std::string_view NameOf(const Table& names, std::size_t code) {
  return code < names.size() ? names[code] : std::string_view("?");
}

void WriteFrame(JsonWriter& json, const FrameInfo& frame) {
  json.BeginObject();
  json.Member("Confirmed", frame.Confirmed);
  json.Member("Offset", frame.Offset);
  json.Member("Length", frame.Length);
  json.Member("BlankAfterHeader", frame.BlankAfterHeader);
  json.Key("Header");
  json.BeginArray();
  for (std::uint8_t byte : frame.Header) json.Integer(byte);
  json.EndArray();
  json.Member("VersionCode", frame.VersionCode);
  json.Member("LayerCode", frame.LayerCode);
  json.Member("Protected", frame.Protected);
  json.Member("BitRateIndex", frame.BitRateIndex);
  json.Member("SampleRateIndex", frame.SampleRateIndex);
  json.Member("Padded", frame.Padded);
  json.Member("PrivateBit", frame.PrivateBit);
  json.Member("ModeCode", frame.ModeCode);
  json.Member("ModeExtension", frame.ModeExtension);
  json.Member("Copyrighted", frame.Copyrighted);
  json.Member("Original", frame.Original);
  json.Member("EmphasisCode", frame.EmphasisCode);
  json.Member("BitRate", BitRate(frame));
  json.Member("SampleRate", SampleRate(frame));
  json.Member("FrameLength", FrameLength(frame));
  json.EndObject();
}

void WriteVbr(JsonWriter& json, const VBRData& vbr) {
  json.BeginObject();
  json.Member("Present", vbr.Present);
  // Always four characters: zero characters when no header was read.
  json.Member("HeaderId", std::string_view(vbr.HeaderId.data(), vbr.HeaderId.size()));
  json.Member("FrameCount", vbr.FrameCount);
  json.Member("ByteCount", vbr.ByteCount);
  json.Member("Quality", vbr.Quality);
  json.Member("Vendor", vbr.Vendor);
  json.EndObject();
}

void WriteId3v1(JsonWriter& json, const TID3v1& tag) {
  json.BeginObject();
  json.Member("Present", tag.Present());
  json.Member("TagVersion", tag.TagVersion());
  json.Member("Title", tag.Title());
  json.Member("Artist", tag.Artist());
  json.Member("Album", tag.Album());
  json.Member("Year", tag.Year());
  json.Member("Comment", tag.Comment());
  json.Member("Track", tag.Track());
  json.Member("GenreNumber", tag.GenreNumber());
  json.EndObject();
}

void WriteId3v2(JsonWriter& json, const TID3v2& tag) {
  json.BeginObject();
  json.Member("Present", tag.Present());
  json.Member("TagVersion", tag.TagVersion());
  json.Member("TagSize", tag.TagSize());
  json.Member("Title", tag.Title());
  json.Member("Artist", tag.Artist());
  json.Member("Album", tag.Album());
  json.Member("Track", tag.Track());
  json.Member("TrackText", tag.TrackText());
  json.Member("Year", tag.Year());
  json.Member("Genre", tag.Genre());
  json.Member("Comment", tag.Comment());
  json.Member("Composer", tag.Composer());
  json.Member("EncodedBy", tag.EncodedBy());
  json.Member("Copyright", tag.Copyright());
  json.Member("Language", tag.Language());
  json.Member("UrlLink", tag.UrlLink());
  json.EndObject();
}

// Appends "  label: value\n" with the labels lined up.
void Line(std::string& out, std::string_view label, const std::string& value) {
  out += "  ";
  out += label;
  out += ':';
  out.append(label.size() < 13 ? 13 - label.size() : 1, ' ');
  out += value;
  out += '\n';
}

std::string Quoted(std::string_view bytes) { return "\"" + Printable(bytes) + "\""; }

std::string Seconds(double seconds) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f s", seconds);
  return buffer;
}

std::string HexBytes(const FrameHeader& header) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02X %02X %02X %02X", header[0], header[1], header[2],
                header[3]);
  return buffer;
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

void TextFrame(std::string& out, const FrameInfo& frame) {
  if (!frame.Confirmed) {
    Line(out, "frame", "none found");
    return;
  }
  Line(out, "frame", std::string(NameOf(VersionNames, frame.VersionCode)) + ", " +
                         std::string(NameOf(LayerNames, frame.LayerCode)) + ", " +
                         std::to_string(BitRate(frame)) + " kbit/s, " +
                         std::to_string(SampleRate(frame)) + " Hz, " +
                         std::string(NameOf(ModeNames, frame.ModeCode)));
  Line(out, "header", HexBytes(frame.Header) + " at offset " + std::to_string(frame.Offset) +
                          " of its block, " + std::to_string(frame.Length) + " bytes");
  Line(out, "flags", "protected " + YesNo(frame.Protected) + ", padded " + YesNo(frame.Padded) +
                         ", private " + YesNo(frame.PrivateBit) + ", copyright " +
                         YesNo(frame.Copyrighted) + ", original " + YesNo(frame.Original) +
                         ", emphasis " +
                         std::string(NameOf(EmphasisNames, frame.EmphasisCode)) +
                         ", mode extension " + std::to_string(frame.ModeExtension) +
                         ", blank after header " + YesNo(frame.BlankAfterHeader));
}

void TextVbr(std::string& out, const VBRData& vbr) {
  if (!vbr.Present) {
    Line(out, "VBR header", "none");
    return;
  }
  std::string text = Quoted(std::string_view(vbr.HeaderId.data(), vbr.HeaderId.size())) + ", " +
                     std::to_string(vbr.FrameCount) + " frames, " +
                     std::to_string(vbr.ByteCount) + " bytes, quality " +
                     std::to_string(vbr.Quality);
  if (!vbr.Vendor.empty()) text += ", vendor " + Quoted(vbr.Vendor);
  Line(out, "VBR header", text);
}

void TextId3v1(std::string& out, const TID3v1& tag) {
  if (!tag.Present()) {
    Line(out, "ID3v1", "none");
    return;
  }
  Line(out, "ID3v1", tag.TagVersion() == 2 ? "version 1.1" : "version 1.0");
  Line(out, "  title", Quoted(tag.Title()));
  Line(out, "  artist", Quoted(tag.Artist()));
  Line(out, "  album", Quoted(tag.Album()));
  Line(out, "  year", Quoted(tag.Year()));
  Line(out, "  comment", Quoted(tag.Comment()));
  if (tag.TagVersion() == 2) Line(out, "  track", std::to_string(tag.Track()));
  const std::size_t genre = tag.GenreNumber();
  Line(out, "  genre", std::to_string(genre) +
                           (genre < GenreNames.size() ? " (" + std::string(GenreNames[genre]) + ")"
                                                      : std::string()));
}

void TextId3v2(std::string& out, const TID3v2& tag) {
  if (!tag.Present()) {
    Line(out, "ID3v2", "none");
    return;
  }
  Line(out, "ID3v2", "version 2." + std::to_string(tag.TagVersion()) + ", " +
                         std::to_string(tag.TagSize()) + " bytes");
  const std::pair<std::string_view, const std::string*> texts[] = {
      {"  title", &tag.Title()},         {"  artist", &tag.Artist()},
      {"  album", &tag.Album()},         {"  track", &tag.TrackText()},
      {"  year", &tag.Year()},           {"  genre", &tag.Genre()},
      {"  comment", &tag.Comment()},     {"  composer", &tag.Composer()},
      {"  encoded by", &tag.EncodedBy()}, {"  copyright", &tag.Copyright()},
      {"  language", &tag.Language()},  {"  URL", &tag.UrlLink()},
  };
  for (const auto& [label, text] : texts) {
    if (!text->empty()) Line(out, label, Quoted(*text));
  }
}


void WriteDescription(JsonWriter& json, const TAudioDescription& d) {
  json.BeginObject();
  json.Member("Format", d.Format);
  json.Member("PlayTime", d.PlayTime);
  json.Member("BitRate", d.BitRate);
  json.Member("SampleRate", d.SampleRate);
  json.Member("Channels", d.Channels);
  json.Member("BitsPerSample", d.BitsPerSample);
  const TTagsUtf8& t = d.Tags;
  for (const auto& [name, text] : {std::pair<const char*, const std::string*>{"Title", &t.Title},
                                   {"Artist", &t.Artist}, {"Album", &t.Album},
                                   {"AlbumArtist", &t.AlbumArtist}, {"Year", &t.Year},
                                   {"Genre", &t.Genre}, {"Comment", &t.Comment},
                                   {"Composer", &t.Composer}}) {
    json.Member(name, *text);
  }
  json.Member("Track", t.Track);
  json.Member("Disc", t.Disc);
  json.Member("HasPicture", d.HasPicture);
  json.Member("PictureOffset", d.Picture.Offset);
  json.Member("PictureSize", d.Picture.Size);
  json.Member("PictureMime", d.Picture.Mime);
  json.Member("PictureType", d.Picture.Type);
  json.EndObject();
}

}  // namespace

bool OtherFormat(const TAudioDescription& description) {
  const std::string_view f = description.Format;
  return !f.empty() && f != format::kMp1 && f != format::kMp2 && f != format::kMp3;
}

namespace {

std::string DescriptionText(const TAudioDescription& d) {
  std::string out;
  Line(out, "format", std::string(d.Format));
  Line(out, "play time", MinutesSeconds(d.PlayTime) + " (" + Seconds(d.PlayTime) + ")");
  Line(out, "audio", std::to_string(d.BitRate) + " kbit/s, " + std::to_string(d.SampleRate) + " Hz, " +
                         std::to_string(d.Channels) + " channels, " + std::to_string(d.BitsPerSample) +
                         " bits");
  const TTagsUtf8& t = d.Tags;
  Line(out, "tags", "");
  for (const auto& [name, text] : {std::pair<const char*, const std::string*>{"  title", &t.Title},
                                   {"  artist", &t.Artist}, {"  album", &t.Album},
                                   {"  album artist", &t.AlbumArtist}, {"  year", &t.Year},
                                   {"  genre", &t.Genre}, {"  comment", &t.Comment},
                                   {"  composer", &t.Composer}}) {
    Line(out, name, Quoted(*text));
  }
  Line(out, "  track/disc", std::to_string(t.Track) + "/" + std::to_string(t.Disc));
  Line(out, "picture", !d.HasPicture ? "no"
                       : d.Picture.Size == 0
                           ? "yes"
                           : "type " + std::to_string(d.Picture.Type) + ", " + d.Picture.Mime + ", " +
                                 std::to_string(d.Picture.Size) + " bytes at " +
                                 std::to_string(d.Picture.Offset));
  return out;
}

}  // namespace

std::string JsonReport(const std::string& fileName, bool loaded, const TMPEGaudio& audio,
                       const TAudioDescription& description) {
  JsonWriter json;
  json.BeginObject();
  json.Member("file", fileName);
  json.Member("loaded", loaded);
  json.Member("PlayTime", audio.PlayTime());
  json.Member("FileLength", audio.FileLength());
  json.Member("EncoderTag", audio.EncoderTag());
  json.Key("Frame");
  WriteFrame(json, audio.Frame());
  json.Key("VBR");
  WriteVbr(json, audio.VBR());
  json.Key("ID3v1");
  WriteId3v1(json, audio.ID3v1Tag());
  json.Key("ID3v2");
  WriteId3v2(json, audio.ID3v2Tag());
  if (OtherFormat(description)) {
    json.Key("Description");
    WriteDescription(json, description);
  }
  json.EndObject();
  return json.Text();
}

std::string TextReport(const std::string& fileName, bool loaded, const TMPEGaudio& audio,
                       const TAudioDescription& description) {
  if (OtherFormat(description)) return Printable(fileName) + "\n" + DescriptionText(description);
  const double playTime = audio.PlayTime();
  std::string out = Printable(fileName) + "\n";
  Line(out, "loaded", loaded ? "yes" : "no (a tag reader or a file read failed)");
  Line(out, "play time", MinutesSeconds(playTime) + " (" + Seconds(playTime) + ")");
  Line(out, "file length", std::to_string(audio.FileLength()) + " bytes");
  TextFrame(out, audio.Frame());
  TextVbr(out, audio.VBR());
  Line(out, "encoder tag", audio.EncoderTag().empty() ? "none" : Quoted(audio.EncoderTag()));
  TextId3v1(out, audio.ID3v1Tag());
  TextId3v2(out, audio.ID3v2Tag());
  return out;
}

}  // namespace plenvox::info
