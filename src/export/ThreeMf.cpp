// The solid as a 3MF package through lib3mf's plain interface: the model built in memory,
// then written to a buffer.
#include "export/ThreeMf.h"

#include "export/DisjointSets.h"

#include <Model/COM/NMR_DLLInterfaces.h>

#include <QUuid>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

// Owns one of lib3mf's objects and releases it.
class Handle {
public:
    Handle() = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (object_)
            NMR::lib3mf_release(object_);
    }
    NMR::PLib3MFBase** out() { return &object_; }
    NMR::PLib3MFBase* get() const { return object_; }

private:
    NMR::PLib3MFBase* object_ = nullptr;
};

// The namespace of the identities in the program's packages.
const QUuid PackageNamespace(QStringLiteral("{5d3c1a52-8f0e-4b7a-9c61-2e4f6b8d0a17}"));

// Where lib3mf's writer puts the package: bytes written at the position it last sought.
struct Sink {
    QByteArray bytes;
    qsizetype position = 0;

    static unsigned write(unsigned char* data, unsigned count, void* user)
    {
        Sink& sink = *static_cast<Sink*>(user);
        const qsizetype end = sink.position + qsizetype(count);
        if (end > sink.bytes.size())
            sink.bytes.resize(end);
        std::memcpy(sink.bytes.data() + sink.position, data, count);
        sink.position = end;
        return 0;
    }
    static unsigned seek(unsigned long long position, void* user)
    {
        Sink& sink = *static_cast<Sink*>(user);
        if (position > static_cast<unsigned long long>(sink.bytes.size()))
            return 1;
        sink.position = qsizetype(position);
        return 0;
    }
};

// The directed edges of a mesh, gathered by the corner they leave and sorted by the corner
// they reach (arrays, no hashing: the 3MF of a large outline spends little here).
class DirectedEdges {
public:
    static constexpr std::size_t None = std::numeric_limits<std::size_t>::max();

    DirectedEdges(std::size_t vertexCount, const std::vector<NMR::MODELMESHTRIANGLE>& triangles) : first_(vertexCount + 1, 0)
    {
        for (const NMR::MODELMESHTRIANGLE& t : triangles)
            for (const DWORD v : t.m_nIndices)
                ++first_[v + 1];
        for (std::size_t v = 0; v < vertexCount; ++v)
            first_[v + 1] += first_[v];
        leaving_.resize(first_.back());
        std::vector<std::size_t> next(first_.begin(), first_.end() - 1);
        for (std::size_t t = 0; t < triangles.size(); ++t)
            for (std::size_t k = 0; k < 3; ++k)
                leaving_[next[triangles[t].m_nIndices[k]]++] = {triangles[t].m_nIndices[(k + 1) % 3], 3 * t + k};
        for (std::size_t v = 0; v < vertexCount; ++v)
            std::sort(leaving_.begin() + std::ptrdiff_t(first_[v]), leaving_.begin() + std::ptrdiff_t(first_[v + 1]));
    }

    // Whether some edge is run more than once.
    bool anyTwice() const
    {
        for (std::size_t v = 0; v + 1 < first_.size(); ++v)
            for (std::size_t e = first_[v]; e + 1 < first_[v + 1]; ++e)
                if (leaving_[e].to == leaving_[e + 1].to)
                    return true;
        return false;
    }

    // The corner (3 * triangle + k) whose edge runs from -> to when exactly one does, else None.
    std::size_t once(DWORD from, DWORD to) const
    {
        const auto begin = leaving_.begin() + std::ptrdiff_t(first_[from]), end = leaving_.begin() + std::ptrdiff_t(first_[from + 1]);
        const auto at = std::lower_bound(begin, end, Leaving{to, 0});
        if (at == end || at->to != to || (at + 1 != end && (at + 1)->to == to))
            return None;
        return at->corner;
    }

private:
    struct Leaving {
        DWORD to;
        std::size_t corner;
        bool operator<(const Leaving& other) const { return to < other.to; }
    };
    std::vector<std::size_t> first_;
    std::vector<Leaving> leaving_;
};

// Where a filled part touches itself at a corner, the triangles round that corner form two
// fans (or more) that meet only there, and the lateral edge there is run twice each way.
// Each fan after the first gets a copy of the corner of its own, so that every corner's
// triangles form one disc and every edge is run once each way: the fans are the triangles
// joined across edges run just once each way (the lateral edge, run more often, joins none).
// Where no edge is run twice, every corner's triangles already form one disc.
void splitFans(std::vector<NMR::MODELMESHVERTEX>& vertices, std::vector<NMR::MODELMESHTRIANGLE>& triangles)
{
    const DirectedEdges edges(vertices.size(), triangles);
    if (!edges.anyTwice())
        return;
    // Corners of triangles (3 * triangle + k) joined into fans.
    DisjointSets fans(3 * triangles.size());
    for (std::size_t t = 0; t < triangles.size(); ++t)
        for (std::size_t k = 0; k < 3; ++k) {
            const DWORD from = triangles[t].m_nIndices[k], to = triangles[t].m_nIndices[(k + 1) % 3];
            const std::size_t back = edges.once(to, from);
            if (edges.once(from, to) == DirectedEdges::None || back == DirectedEdges::None)
                continue;
            // The other triangle runs to -> from: its corner at `to` is back's, at `from` the next.
            const std::size_t u = back / 3, j = back % 3;
            fans.join(3 * t + k, 3 * u + (j + 1) % 3);
            fans.join(3 * t + (k + 1) % 3, 3 * u + j);
        }
    // The first fan met at a corner keeps it; each later one gets a copy.
    constexpr std::size_t NoFan = DirectedEdges::None;
    std::vector<std::size_t> fanOf(vertices.size(), NoFan);
    std::unordered_map<std::size_t, DWORD> copies;
    for (std::size_t t = 0; t < triangles.size(); ++t)
        for (std::size_t k = 0; k < 3; ++k) {
            DWORD& v = triangles[t].m_nIndices[k];
            const std::size_t fan = fans.find(3 * t + k);
            if (fanOf[v] == NoFan)
                fanOf[v] = fan;
            if (fanOf[v] == fan)
                continue;
            const auto [copy, added] = copies.try_emplace(fan, DWORD(vertices.size()));
            if (added)
                vertices.push_back(vertices[v]);
            v = copy->second;
        }
}

QString failed(const char* step) { return QStringLiteral("lib3mf failed %1").arg(QLatin1String(step)); }

} // namespace

bool threeMfHasUnit(LengthUnit unit) { return unit == LengthUnit::Millimetre || unit == LengthUnit::Inch; }

std::variant<QByteArray, QString> threeMfPackage(const Mesh& mesh, const QString& name, LengthUnit unit)
{
    using namespace NMR;
    // Each part's corners renumbered from the part's own first vertex.
    std::vector<MODELMESHVERTEX> vertices;
    std::vector<MODELMESHTRIANGLE> triangles(mesh.triangles.size());
    std::vector<DWORD> local(mesh.vertices.size());
    std::vector<std::size_t> seenIn(mesh.vertices.size(), 0);
    std::vector<std::size_t> starts = mesh.partStarts.empty() ? std::vector<std::size_t>{0} : mesh.partStarts;
    starts.push_back(mesh.triangles.size());
    for (std::size_t part = 0; part + 1 < starts.size(); ++part)
        for (std::size_t i = starts[part]; i < starts[part + 1]; ++i)
            for (std::size_t k = 0; k < 3; ++k) {
                const std::uint32_t v = mesh.triangles[i][k];
                if (seenIn[v] != part + 1) {
                    seenIn[v] = part + 1;
                    local[v] = DWORD(vertices.size());
                    vertices.push_back({{mesh.vertices[v][0], mesh.vertices[v][1], mesh.vertices[v][2]}});
                }
                triangles[i].m_nIndices[k] = local[v];
            }

    splitFans(vertices, triangles);

    Handle model, object, item, writer;
    if (lib3mf_createmodel(reinterpret_cast<PLib3MFModel**>(model.out())) != LIB3MF_OK)
        return failed("to make a model");
    PLib3MFModel* m = model.get();
    if (lib3mf_model_setunit(m, unit == LengthUnit::Inch ? MODELUNIT_INCH : MODELUNIT_MILLIMETER) != LIB3MF_OK
        || lib3mf_model_addmetadatautf8(m, "Application", "Brondelwick") != LIB3MF_OK)
        return failed("to set the unit and the metadata");
    if (lib3mf_model_addmeshobject(m, reinterpret_cast<PLib3MFModelMeshObject**>(object.out())) != LIB3MF_OK
        || lib3mf_object_setnameutf8(object.get(), name.toUtf8().constData()) != LIB3MF_OK
        || lib3mf_meshobject_setgeometry(object.get(), vertices.data(), DWORD(vertices.size()), triangles.data(),
                                         DWORD(triangles.size())) != LIB3MF_OK)
        return failed("to take the mesh");
    if (lib3mf_model_addbuilditem(m, object.get(), nullptr, reinterpret_cast<PLib3MFModelBuildItem**>(item.out())) != LIB3MF_OK)
        return failed("to place the object");
    // The identities the package gives its object, build and item come from what it holds,
    // so that the same object always makes the same bytes.
    QByteArray contents = name.toUtf8();
    contents.append(reinterpret_cast<const char*>(vertices.data()), qsizetype(vertices.size() * sizeof(MODELMESHVERTEX)));
    contents.append(reinterpret_cast<const char*>(triangles.data()), qsizetype(triangles.size() * sizeof(MODELMESHTRIANGLE)));
    const QUuid objectId = QUuid::createUuidV5(PackageNamespace, contents);
    const auto text = [](const QUuid& id) { return id.toByteArray(QUuid::WithoutBraces); };
    if (lib3mf_object_setuuidutf8(object.get(), text(objectId).constData()) != LIB3MF_OK
        || lib3mf_model_setbuilduuidutf8(m, text(QUuid::createUuidV5(objectId, QByteArray("build"))).constData()) != LIB3MF_OK
        || lib3mf_builditem_setuuidutf8(item.get(), text(QUuid::createUuidV5(objectId, QByteArray("item"))).constData()) != LIB3MF_OK)
        return failed("to name the object");
    if (lib3mf_model_querywriter(m, "3mf", reinterpret_cast<PLib3MFModelWriter**>(writer.out())) != LIB3MF_OK)
        return failed("to make a writer");
    // Written once into memory: the package's writer seeks back to fill in sizes.
    Sink sink;
    if (lib3mf_writer_writetocallback(writer.get(), reinterpret_cast<void*>(&Sink::write), reinterpret_cast<void*>(&Sink::seek), &sink)
        != LIB3MF_OK)
        return failed("to write the package");
    QByteArray bytes = std::move(sink.bytes);
    return bytes;
}
