#include "PictureXmp.h"

#include "Exiv2Lock.h"

#include <stdexcept>

namespace {

std::string utf8(const QString &text)
{
    return text.toStdString();
}

std::string number(double value)
{
    return QString::number(value, 'g', 15).toStdString();
}

// A language alternative with its default entry only: dc:title, dc:description.
void addLangAlt(Exiv2::XmpData &xmp, const char *key, const QString &text)
{
    if (text.isEmpty())
        return;
    Exiv2::LangAltValue value;
    value.value_["x-default"] = utf8(text);
    xmp.add(Exiv2::XmpKey(key), &value);
}

// Plain text set on the value itself: XmpTextValue::read would take a leading "type=" as a type.
void addText(Exiv2::XmpData &xmp, const char *key, const std::string &text)
{
    if (text.empty())
        return;
    Exiv2::XmpTextValue value;
    value.value_ = text;
    xmp.add(Exiv2::XmpKey(key), &value);
}

void addSeq(Exiv2::XmpData &xmp, const char *key, std::initializer_list<std::string> items)
{
    Exiv2::XmpArrayValue value(Exiv2::xmpSeq);
    for (const std::string &item : items)
        value.read(item);
    xmp.add(Exiv2::XmpKey(key), &value);
}

void addSpatial(Exiv2::XmpData &xmp, const PictureXmp::Spatial &s)
{
    addText(xmp, "Xmp.avm.Spatial.CoordinateFrame", "ICRS");
    addText(xmp, "Xmp.avm.Spatial.Equinox", "J2000");
    addSeq(xmp, "Xmp.avm.Spatial.ReferenceValue", {number(s.ra), number(s.dec)});
    addSeq(xmp, "Xmp.avm.Spatial.ReferenceDimension",
           {number(s.dimension.width()), number(s.dimension.height())});
    addSeq(xmp, "Xmp.avm.Spatial.ReferencePixel",
           {number(s.referencePixel.x()), number(s.referencePixel.y())});
    addSeq(xmp, "Xmp.avm.Spatial.Scale", {number(s.scaleX), number(s.scaleY)});
    addText(xmp, "Xmp.avm.Spatial.Rotation", number(s.rotation));
    addText(xmp, "Xmp.avm.Spatial.CoordsystemProjection", "TAN");
    addText(xmp, "Xmp.avm.Spatial.Quality", "Full");
}

} // namespace

bool PictureXmp::embed(QByteArray *bytes, QString *error) const
{
    try {
        const Exiv2Lock lock;
        static const bool registered = [] {
            Exiv2::XmpProperties::registerNs(AvmNamespace, "avm");
            return true;
        }();
        Q_UNUSED(registered);
        auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte *>(bytes->constData()), long(bytes->size()));
        if (!image.get())
            throw std::runtime_error("not a PNG or JPEG picture");
        // Read first: exiv2 writes back the colour profile it has read, and drops it otherwise.
        image->readMetadata();
        Exiv2::XmpData xmp;
        addLangAlt(xmp, "Xmp.dc.title", title);
        addLangAlt(xmp, "Xmp.dc.description", description);
        if (!creator.isEmpty())
            addSeq(xmp, "Xmp.dc.creator", {utf8(creator)});
        addText(xmp, "Xmp.xmp.CreateDate", utf8(createDate));
        addText(xmp, "Xmp.photoshop.DateCreated", utf8(createDate));
        addText(xmp, "Xmp.xmp.CreatorTool", utf8(creatorTool));
        if (spatial)
            addSpatial(xmp, *spatial);
        image->setXmpData(xmp);
        image->writeMetadata();
        Exiv2::BasicIo &io = image->io();
        if (io.open() != 0)
            return false;
        const Exiv2::DataBuf written = io.read(long(io.size()));
        io.close();
        *bytes = QByteArray(reinterpret_cast<const char *>(written.pData_), written.size_);
        return true;
    } catch (const std::exception &e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}
