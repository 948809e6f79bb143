// Joined to the fleet module's script (--post-js), where emscripten's file system lies: a file of the
// module's memory grows in place where the browser can grow an ArrayBuffer, and by doubling elsewhere.
// Emscripten grows a file past 1 MB by an eighth at a time, copying it whole each time, and the work
// files of a large workbook (the rows of an .xlsx sheet, the result) reach a hundred megabytes: their
// copies took most of a 100 000-row workbook's time.
MEMFS.expandFileStorage = (node, wanted) => {
    const capacity = node.contents ? node.contents.length : 0;
    if (capacity >= wanted)
        return;
    const size = Math.max(wanted, capacity * 2, 256);
    const buffer = node.contents && node.contents.buffer;
    if (buffer && buffer.resizable && size <= buffer.maxByteLength) {
        buffer.resize(size);
        return;
    }
    let contents;
    try {
        // Room to grow to 2 GiB, the largest the module's file calls can address; the memory is taken
        // only as the file grows.
        contents = new Uint8Array(new ArrayBuffer(size, {maxByteLength: Math.max(size, 2 ** 31)}));
    } catch {
        contents = new Uint8Array(size);
    }
    if (node.usedBytes > 0)
        contents.set(node.contents.subarray(0, node.usedBytes), 0);
    node.contents = contents;
};

// The module hands its memory to the file calls as signed bytes (HEAP8), and a file grown above is
// unsigned bytes: a copy between the two kinds goes a byte at a time, a copy of one kind at the speed
// of memory. Reads and writes are given the memory as unsigned bytes: a large workbook's work files,
// written and read back a kilobyte at a time, took a third of its time in those copies. The file calls
// of every file, made or still to be made, are replaced.
for (const name of ["read", "write"]) {
    const original = MEMFS.stream_ops[name];
    const unsigned = (stream, buffer, ...rest) => original(stream,
        buffer instanceof Int8Array ? new Uint8Array(buffer.buffer, buffer.byteOffset, buffer.length) : buffer, ...rest);
    MEMFS.stream_ops[name] = unsigned;
    if (MEMFS.ops_table)
        MEMFS.ops_table.file.stream[name] = unsigned;
}
