// A Data API stand-in for benchmarks: reads every request body to its end and
// answers as the Data API does when it creates an object.
const http = require("http");
let count = 0;
const server = http.createServer((request, response) => {
  let bytes = 0;
  request.on("data", (chunk) => { bytes += chunk.length; });
  request.on("end", () => {
    response.setHeader("Content-Type", "application/json");
    response.end(JSON.stringify({ id: `bench${++count}`, title: `${bytes} bytes` }));
  });
});
server.listen(0, "127.0.0.1", () => console.log(server.address().port));
