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
